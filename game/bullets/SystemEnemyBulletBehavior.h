#pragma once

#include <string_view>

#include "engine/System.h"
#include "game/bullets/BulletLife.h"

/// An enemy projectile's limited life and its looping animation.
struct ComponentEnemyBulletBehavior : BulletLife {
    static constexpr std::string_view kName = "Enemy Bullet Behavior";
};

class SystemEnemyBulletBehavior
    : public System<ComponentEnemyBulletBehavior, SystemEnemyBulletBehavior> {
public:
    bool HandleMessage(const Message& message) override;
};
