#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A player bullet's reaction to solid tiles.
struct ComponentBulletCollider {
    static constexpr std::string_view kName = "Bullet Collision Handler";

    std::string TileCollideSound;
    std::string TileCollideEffect;
};

void from_json(const nlohmann::json& j, ComponentBulletCollider& collider);

class MessageCollision;

/// Destroys player bullets that hit an enemy or a solid tile; they pass through one-way
/// platforms.
class SystemBulletCollision : public System<ComponentBulletCollider, SystemBulletCollision> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void EnemyHit(const MessageCollision& contact);
};
