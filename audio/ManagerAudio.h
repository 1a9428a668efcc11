#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include <glm/vec3.hpp>

#include "audio/AudioRuntime.h"
#include "engine/Manager.h"

/// Plays the game's sound: loads banks from Assets/Banks/, keeps the playable events by path
/// and turns audio messages into runtime calls. It never consumes a message. Failures of the
/// runtime are printed to standard output by name and otherwise ignored; without an audio
/// device it prints one line and the game runs silently. Sound time moves with the frame time
/// of MessageUpdate, so the same frames give the same parameter seeking and, when rendering,
/// the same sound.
class ManagerAudio : public Manager {
public:
    /// Opens the output and loads the banks "Master" and "Master.strings".
    ManagerAudio();
    /// As above, but mixes into `target` instead of a device: every MessageUpdate renders
    /// exactly its frame time of sound.
    explicit ManagerAudio(audio::RenderTarget target);
    ~ManagerAudio() override;
    ManagerAudio(const ManagerAudio&) = delete;
    ManagerAudio& operator=(const ManagerAudio&) = delete;

    bool HandleMessage(const Message& message) override;

    /// Event path -> description; null marks a name asked for and not found.
    const std::unordered_map<std::string, audio::EventDescription*>& Events() const {
        return events;
    }
    /// Bank name -> bank; null marks a bank that failed to load.
    const std::unordered_map<std::string, audio::Bank*>& Banks() const { return banks; }
    audio::Runtime& Runtime() { return *studio; }
    const glm::vec3& ListenerPosition() const { return listenerPosition; }
    const glm::vec3& ListenerVelocity() const { return listenerVelocity; }

private:
    void Opened(audio::Result result);
    void Update(float dt);
    void Check(audio::Result result);
    void LoadBank(const std::string& name, bool registerEvents);
    void RegisterEvent(std::string_view path);
    void PlayEvent(std::string_view name, const glm::vec3& position, const glm::vec3& velocity);
    audio::Bus* FindBus(std::string_view name);

    std::unique_ptr<audio::Runtime> studio;
    std::unordered_map<std::string, audio::Bank*> banks;
    std::unordered_map<std::string, audio::EventDescription*> events;
    glm::vec3 listenerPosition{0.0f};
    glm::vec3 listenerVelocity{0.0f};
    /// The engine reports no time while paused, yet the pause menu's music plays on and its
    /// duck must seek: sound time then runs at the last frame time the engine gave.
    bool paused = false;
    float lastFrameTime = 1.0f / 60.0f;
    /// Reused for "event:/" + name and "bus:/" + name, so that playing allocates nothing.
    std::string key;
};
