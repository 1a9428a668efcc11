#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "engine/FrameProfile.h"
#include "engine/KeyCodes.h"
#include "engine/Manager.h"
#include "engine/ManagerState.h"
#include "services/ui/Font.h"

/// F3 in debug mode shows what a frame costs over the game: frames per second, a graph of the
/// last seconds of frame times, the entity count, messages per frame and the five most
/// expensive systems. Leaving debug mode hides it. While hidden nothing is timed.
///
/// Sits between the state manager and the window so that its sprites reach the frame the
/// states just drew.
class ManagerFrameOverlay : public Manager {
public:
    static constexpr int kToggleKey = keycode::F3;
    static constexpr const char* kCamera = "Frame Overlay";
    /// Frame times the graph shows: four seconds at 60 frames a second.
    static constexpr std::size_t kGraphFrames = 240;

    /// `states` is read for the entity count; it must outlive the overlay.
    explicit ManagerFrameOverlay(ManagerState* states);
    ~ManagerFrameOverlay() override;
    ManagerFrameOverlay(const ManagerFrameOverlay&) = delete;
    ManagerFrameOverlay& operator=(const ManagerFrameOverlay&) = delete;

    bool HandleMessage(const Message& message) override;

    bool Shown() const { return shown; }
    /// The overlay's text as last drawn, one line per row.
    const std::string& Text() const { return text; }

private:
    using Clock = std::chrono::steady_clock;

    void Show(bool on);
    void Draw();
    std::size_t EntityCount() const;

    ManagerState* states;
    FrameProfile profile{false};
    bool shown = false;
    /// Time between successive renders, milliseconds, oldest first.
    std::vector<float> frameTimes;
    Clock::time_point lastRender;
    bool haveLastRender = false;
    std::shared_ptr<const Font> font;
    bool fontFailed = false;
    std::string text;
};
