#pragma once

#include <string>
#include <string_view>

#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

/// An enemy's reaction to player bullets: its death sound and effect, and its removal a
/// short while after the hit.
struct ComponentEnemyCollider {
    static constexpr std::string_view kName = "Enemy Collision Handler";

    /// Kept for content; nothing reads it (the hit flash is part of the hurt animation).
    glm::vec4 HitColor{1.0f, 1.0f, 1.0f, 1.0f};
    std::string DeathSound;
    std::string DeathEffect;
    /// Kept for content; nothing reads it.
    bool KillsPlayerOnContact = false;

    /// Hit by a player bullet: stopped, and destroyed `DeathDelay` seconds later.
    bool IsDying = false;
    /// Set with IsDying; further bullets and the player pass through harmlessly.
    bool IsHit = false;
    /// Seconds since the hit.
    float DeathTimer = 0.0f;
    float DeathDelay = 0.4f;
};

void from_json(const nlohmann::json& j, ComponentEnemyCollider& collider);

class SystemEnemyCollision : public System<ComponentEnemyCollider, SystemEnemyCollision> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void CollisionHandler(EntityId entity, EntityId other);
    void EnemyBulletCollision(EntityId entity);
    void Update(float dt);
};
