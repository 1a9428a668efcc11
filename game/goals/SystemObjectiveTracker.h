#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A guidance arrow drawn on its entity, turned towards the level's door.
struct ComponentObjectiveTracker {
    static constexpr std::string_view kName = "Objective Tracker";

    /// Kept for content; nothing depends on it.
    std::string CounterFilepath;
    std::string GuidanceFilepath;
    /// While set, no guidance is drawn.
    bool CounterIsActive = false;
    bool GuidanceIsActive = false;
    /// The last angle drawn, radians; kept while the tracker sits exactly on the door.
    float Angle = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentObjectiveTracker& tracker);

class SystemObjectiveTracker : public System<ComponentObjectiveTracker, SystemObjectiveTracker> {
public:
    bool HandleMessage(const Message& message) override;

    /// The angle of the direction (dx, dy) from the x axis, in (-pi, pi]; `previous` when the
    /// direction has no length.
    static float GuidanceAngle(float dx, float dy, float previous);

private:
    void Update();
};
