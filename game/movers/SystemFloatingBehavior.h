#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Bobs an entity about a height by switching its vertical acceleration at the anchor.
struct ComponentFloatingBehavior {
    static constexpr std::string_view kName = "Floating Behavior";

    /// World y about which the entity floats.
    float AnchorPoint = 0.0f;
    /// Given while at or above the anchor.
    float AccelerationAboveAnchor = 0.0f;
    float AccelerationBelowAnchor = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentFloatingBehavior& floating);

class SystemFloatingBehavior : public System<ComponentFloatingBehavior, SystemFloatingBehavior> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void UpdateFloatingMovement(EntityId entity, const ComponentFloatingBehavior& floating);
};
