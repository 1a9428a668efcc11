#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A bullet's life time and its looping animation.
struct ComponentBulletBehavior {
    static constexpr std::string_view kName = "Bullet Behavior";

    /// Seconds until the bullet expires.
    float LifeTime = 0.0f;
    std::string BulletAnimation = "animation";
    bool animationStarted = false;
};

void from_json(const nlohmann::json& j, ComponentBulletBehavior& bullet);

class SystemBulletBehavior : public System<ComponentBulletBehavior, SystemBulletBehavior> {
public:
    bool HandleMessage(const Message& message) override;
};
