#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Firing pattern of an arm; the values are part of the content contract.
enum class ShotType : std::int32_t { UNKNOWN = -1, Regular = 0, Shotgun = 1 };

/// The player's arm: aims at the cursor and fires bullet entities while a mouse button is held.
struct ComponentPlayerShooting {
    static constexpr std::string_view kName = "Player Shooting";
    /// The arm's animation for one shot; fixed, not read from data.
    static constexpr std::string_view kShootAnimation = "shoot";

    ShotType Type = ShotType::UNKNOWN;
    /// World units per second.
    float ShootSpeed = 0.0f;
    /// Seconds between shots while the button is held.
    float AutoShootCoolDown = 0.5f;
    /// Share of the bullet velocity taken from the body per single shot.
    float RecoilMultiplier = 0.5f;
    /// Total fan angle of a shotgun burst, radians.
    float ShotSpread = 0.0f;
    int AmountOfShot = 1;
    std::string ShootSound;
    std::string IdleAnimation = "Idle";
    std::string AimBone = "Aim Constraint";
    std::string OffsetBone;
    std::string BulletArchetype = "Bullet";
    std::string ExplosionEffect;
    std::string GlowEffect;
    std::string SparksEffect;

    bool paused = false;
    bool killed = false;
    glm::vec2 cursorPosition{0.0f};
    glm::vec2 cursorOffset{0.0f};
    /// Unit vector from the arm towards the cursor.
    glm::vec2 aimDirection{0.0f};
    glm::vec2 aimVector{0.0f};
    /// Radians, in (-pi, pi].
    float aimAngle = 0.0f;
    bool idleStarted = false;
    float cooldown = 0.0f;
    bool triggerHeld = false;
};

/// "Shot Type" must be "UNKNOWN", "Regular" or "Shotgun"; any other name is rejected with the
/// standard bad-optional-access exception.
void from_json(const nlohmann::json& j, ComponentPlayerShooting& shooting);

class SystemPlayerShooting : public System<ComponentPlayerShooting, SystemPlayerShooting> {
public:
    bool HandleMessage(const Message& message) override;

    /// The description merged into the bullet archetype: placement at the muzzle, just in front
    /// of the arm, turned along `angle` (radians), moving with `velocity`.
    static nlohmann::json BulletJson(const glm::vec3& armTranslation, const glm::vec2& muzzle,
                                     float angle, const glm::vec2& velocity);

private:
    void OnKey(const Message& message);
    void OnTrigger(std::string_view name, bool value);
    void Aim(EntityId arm, ComponentPlayerShooting& shooting);
    void Fire(EntityId arm, ComponentPlayerShooting& shooting);
    void Shoot(EntityId arm, ComponentPlayerShooting& shooting);
    void ScatterShot(EntityId arm, ComponentPlayerShooting& shooting);
    /// Sends the sound and the bullet for one shot from the arm at `transform`.
    void SpawnBullet(EntityId arm, const ComponentPlayerShooting& shooting,
                     const glm::vec3& armTranslation, float angle, const glm::vec2& velocity);
    void Recoil(EntityId parent, const ComponentPlayerShooting& shooting,
                const glm::vec2& velocity);
};
