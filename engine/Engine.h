#pragma once

#include <memory>
#include <vector>

#include "engine/Manager.h"

/// Owns the managers, is the single entry of the message bus and runs the frame loop.
class Engine : public Manager {
public:
    Engine();
    ~Engine() override;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    /// Hands the manager the engine's send callback and appends it; order of addition is the
    /// order of delivery. Not to be called from inside a delivery.
    void AddManager(std::unique_ptr<Manager>&& manager);
    /// Acts on quit, "Pause" and "Exit", then offers the message to each manager in order.
    bool HandleMessage(const Message& message) override;
    /// Sends Initialize, then an update and a render per frame until stopped.
    void Run();

    /// The longest frame time an update reports; longer frames slow the game down instead.
    static constexpr float kMaxFrameTime = 1.0f / 30.0f;
    /// The frame time the loop reports for a frame that measured `seconds`.
    static float ClampFrameTime(float seconds);

    bool IsPaused() const { return paused; }

    /// From now on every frame reports `seconds` (while not paused) instead of the measured
    /// time, so that the same input gives the same game; 0 goes back to the clock. With
    /// `paced` the loop still waits for the clock, so that a frame lasts about that long on
    /// screen; without it frames follow one another as fast as the machine allows.
    void SetFixedFrameTime(float seconds, bool paced);
    float FixedFrameTime() const { return fixedFrameTime; }

    /// Sends one frame: an update of `dt`, then a render.
    void Frame(float dt);
    /// Messages sent through the engine on this thread during the last whole frame.
    long long MessagesLastFrame() const { return lastFrameMessages; }

private:
    std::vector<std::unique_ptr<Manager>> managers;
    bool running = false;
    bool paused = false;
    float fixedFrameTime = 0.0f;
    bool paced = false;
    long long lastFrameMessages = 0;
};
