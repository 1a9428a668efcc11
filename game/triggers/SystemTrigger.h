#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A zone that fires once when the player touches it: a named trigger, a sound and a global
/// audio parameter; by default it removes itself.
struct ComponentTrigger {
    static constexpr std::string_view kName = "Trigger";

    /// Fired with value true; empty: none.
    std::string TriggerName;
    std::string AudioEvent;
    std::string AudioParameter;
    float AudioParameterValue = 0.0f;
    bool Destruct = true;
    bool Triggered = false;
};

void from_json(const nlohmann::json& j, ComponentTrigger& trigger);

class SystemTrigger : public System<ComponentTrigger, SystemTrigger> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void CollisionHandler(EntityId entity, EntityId other);
};
