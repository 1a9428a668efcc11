#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// An enemy projectile's limited life and its looping animation.
struct ComponentEnemyBulletBehavior {
    static constexpr std::string_view kName = "Enemy Bullet Behavior";

    /// Seconds left; the projectile expires once it drops below 0.
    float LifeTime = 0.0f;
    std::string BulletAnimation = "animation";
    bool AnimationStarted = false;
};

void from_json(const nlohmann::json& j, ComponentEnemyBulletBehavior& bullet);

class SystemEnemyBulletBehavior
    : public System<ComponentEnemyBulletBehavior, SystemEnemyBulletBehavior> {
public:
    bool HandleMessage(const Message& message) override;
};
