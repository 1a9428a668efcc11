#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// The sounds an entity makes when it is born and when it goes (or its state is left).
struct ComponentAudioSource {
    static constexpr std::string_view kName = "Audio Source";

    /// Event name without "event:/"; empty: no sound.
    std::string createSound;
    std::string destroySound;
};

/// Reads "Create Sound" and "Destroy Sound".
void from_json(const nlohmann::json& j, ComponentAudioSource& source);

/// Plays "Create Sound" at an entity's birth, "Destroy Sound" at its destruction and, for every
/// source, when the state changes. Sounds go out at world position and velocity zero.
class SystemAudioSource : public System<ComponentAudioSource, SystemAudioSource> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Play(const std::string& name);
};
