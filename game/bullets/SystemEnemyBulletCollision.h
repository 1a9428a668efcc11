#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// An enemy projectile's end against solid tiles. The player's side of a hit is the player
/// collision's.
struct ComponentEnemyBulletCollider {
    static constexpr std::string_view kName = "Enemy Bullet Collision";

    std::string TileCollideSound;
    std::string TileCollideEffect;
};

void from_json(const nlohmann::json& j, ComponentEnemyBulletCollider& collider);

/// Destroys enemy projectiles that hit a solid tile; they fly through one-way platforms.
class SystemEnemyBulletCollision
    : public System<ComponentEnemyBulletCollider, SystemEnemyBulletCollision> {
public:
    bool HandleMessage(const Message& message) override;
};
