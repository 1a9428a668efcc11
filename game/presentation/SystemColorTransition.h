#pragma once

#include <string_view>

#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Maps the player's x linearly (extrapolating past the ends) onto the entity's sprite colour.
struct ComponentColorTransition {
    static constexpr std::string_view kName = "Color Transition";

    glm::vec4 ColorStart{0.0f};
    glm::vec4 ColorEnd{0.0f};
    float PlayerStart = 0.0f;
    float PlayerEnd = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentColorTransition& transition);

class SystemColorTransition : public System<ComponentColorTransition, SystemColorTransition> {
public:
    bool HandleMessage(const Message& message) override;
};
