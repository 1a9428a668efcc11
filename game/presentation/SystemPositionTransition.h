#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Maps the player's x linearly (extrapolating past the ends) onto the entity's x, for
/// backgrounds that scroll at their own pace.
struct ComponentPositionTransition {
    static constexpr std::string_view kName = "Position Transition";

    float PositionStart = 0.0f;
    float PositionEnd = 0.0f;
    float PlayerStart = 0.0f;
    float PlayerEnd = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentPositionTransition& transition);

class SystemPositionTransition
    : public System<ComponentPositionTransition, SystemPositionTransition> {
public:
    bool HandleMessage(const Message& message) override;
};
