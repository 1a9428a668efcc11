#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Maps the player's x linearly (extrapolating past the ends) onto a global audio parameter.
struct ComponentAudioTransition {
    static constexpr std::string_view kName = "Audio Transition";

    std::string Parameter;
    float ParameterStart = 0.0f;
    float ParameterEnd = 0.0f;
    float PlayerStart = 0.0f;
    float PlayerEnd = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentAudioTransition& transition);

class SystemAudioTransition : public System<ComponentAudioTransition, SystemAudioTransition> {
public:
    bool HandleMessage(const Message& message) override;
};
