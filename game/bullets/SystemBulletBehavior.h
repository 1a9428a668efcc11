#pragma once

#include <string_view>

#include "engine/System.h"
#include "game/bullets/BulletLife.h"

/// A bullet's life time and its looping animation.
struct ComponentBulletBehavior : BulletLife {
    static constexpr std::string_view kName = "Bullet Behavior";
};

class SystemBulletBehavior : public System<ComponentBulletBehavior, SystemBulletBehavior> {
public:
    bool HandleMessage(const Message& message) override;
};
