#pragma once

#include <string>
#include <string_view>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

struct ComponentTransform;

/// An enemy that fires projectile entities while the player is within range.
struct ComponentEnemyShooting {
    static constexpr std::string_view kName = "Enemy Shooting";

    /// Projectile speed, units per second.
    float ShootSpeed = 0.0f;
    /// Seconds between range tests; a shot doubles the wait.
    float ShotCooldown = 0.5f;
    /// Shot direction for an enemy facing right; degrees in JSON, radians here.
    float Angle = 0.0f;
    /// World units in the x-y plane.
    float EnemyRange = 5.0f;
    std::string ShootSound;
    /// Entity file of a projectile; empty: the enemy does not shoot.
    std::string ProjectileEntity;
    /// A bone that must answer before the spawn bone is read.
    std::string TargetBone;
    /// The muzzle; fixed, not read from data.
    std::string SpawnBone = "beaks";
    std::string ShootAnimation = "shoot";
    std::string IdleAnimation = "idle";

    /// Seconds to the next range test.
    float ShotTimer = 0.0f;
    /// (cos Angle, sin Angle).
    glm::vec2 Direction{1.0f, 0.0f};
    /// The last range test found the player.
    bool InRange = false;
};

void from_json(const nlohmann::json& j, ComponentEnemyShooting& shooting);

/// Tests the distance to the player on a cadence and fires at it from the enemy's muzzle
/// bone; draws the range in debug mode.
class SystemEnemyShooting : public System<ComponentEnemyShooting, SystemEnemyShooting> {
public:
    bool HandleMessage(const Message& message) override;

    /// The description merged into the projectile's entity file: at `translation` (the muzzle
    /// in world space, drawn just behind the enemy), turned by `angle` (radians), moving with
    /// `velocity`.
    static nlohmann::json ProjectileJson(const glm::vec3& translation, float angle,
                                         const glm::vec2& velocity);

    /// The last listener position: the player.
    glm::vec2 PlayerPosition{0.0f};
    bool debugDraw = false;

private:
    void Update(float dt);
    bool PlayerIsInRange(EntityId entity, const ComponentEnemyShooting& shooting);
    void Shoot(EntityId entity, const ComponentEnemyShooting& shooting);
    /// Leaving range: back to the animation that fits what the enemy is doing.
    void LeaveRange(EntityId entity, const ComponentEnemyShooting& shooting);
    void DrawDebugOutline();
};
