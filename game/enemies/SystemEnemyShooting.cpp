#include "game/enemies/SystemEnemyShooting.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "audio/MessageAudio.h"
#include "engine/DebugSwitch.h"
#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "game/enemies/SystemEnemyBehavior.h"
#include "game/enemies/SystemEnemyCollision.h"
#include "physics2d/SystemPhysics.h"
#include "services/animation/MessageAnimation.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr double kRadiansToDegrees = 57.29578;
/// Projectiles are drawn just behind the enemy that fires them.
constexpr double kProjectileDepthOffset = 0.01;
/// The shoot animation spans this many cool-downs.
constexpr float kShootAnimationCooldowns = 6.0f;

}  // namespace

void from_json(const nlohmann::json& j, ComponentEnemyShooting& s) {
    using json_read::Key;
    Key(j, "Shoot Speed", s.ShootSpeed);
    Key(j, "Shot Cooldown", s.ShotCooldown);
    if (j.is_object() && j.contains("Angle")) {
        const float degrees = j.at("Angle").get<float>();
        s.Angle = degrees * kPi / 180.0f;
        s.Direction = {std::cos(s.Angle), std::sin(s.Angle)};
    }
    Key(j, "Enemy Range", s.EnemyRange);
    Key(j, "Shoot Sound", s.ShootSound);
    Key(j, "Projectile Entity", s.ProjectileEntity);
    Key(j, "Target Bone", s.TargetBone);
    Key(j, "Shoot Animation", s.ShootAnimation);
    Key(j, "Idle Animation", s.IdleAnimation);
}

bool SystemEnemyShooting::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Render:
            if (debugDraw) DrawDebugOutline();
            return false;
        case MessageId::Key:
            debug_switch::Apply(static_cast<const MessageKey&>(message), debugDraw);
            return false;
        case MessageId::ListenerPosition: {
            const glm::vec3& p = static_cast<const MessageListenerPosition&>(message).position;
            PlayerPosition = {p.x, p.y};
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemEnemyShooting::Update(float dt) {
    // By entity id, so that projectiles of one frame get their ids in a fixed order.
    ForEachInIdOrder(components, [&](EntityId entity, ComponentEnemyShooting& s) {
        bool dying = false;
        SendMessage(MessageQuery<ComponentEnemyCollider>(
            entity, [&](ComponentEnemyCollider& c) { dying = c.IsDying; }));
        // A dying enemy neither shoots nor replaces its hurt animation.
        if (dying) return;
        if (s.ShotTimer > 0.0f) {
            s.ShotTimer -= dt;
            return;
        }
        s.ShotTimer = s.ShotCooldown;
        const bool wasInRange = s.InRange;
        s.InRange = PlayerIsInRange(entity, s);
        // Copied: shooting creates entities, and the sends below may reach this table.
        const ComponentEnemyShooting shooting = s;
        if (shooting.InRange) {
            // A projectile-less enemy would spawn bare entities that are never destroyed.
            if (shooting.ProjectileEntity.empty()) return;
            const float speed = shooting.ShotCooldown > 0.0f
                                    ? 1.0f / (kShootAnimationCooldowns * shooting.ShotCooldown)
                                    : 1.0f;
            SendMessage(
                MessageSetAnimation(entity, shooting.ShootAnimation, true, false, 0.0f, speed));
            Shoot(entity, shooting);
            auto again = components.find(entity);
            if (again != components.end()) again->second.ShotTimer += shooting.ShotCooldown;
        } else if (wasInRange) {
            LeaveRange(entity, shooting);
        }
    });
}

bool SystemEnemyShooting::PlayerIsInRange(EntityId entity, const ComponentEnemyShooting& s) {
    bool inRange = false;
    // Without a transform there is nothing to measure from: never in range.
    SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
        const float dx = t.translation.x - PlayerPosition.x;
        const float dy = t.translation.y - PlayerPosition.y;
        inRange = s.EnemyRange >= std::sqrt(dx * dx + dy * dy);
    }));
    return inRange;
}

void SystemEnemyShooting::Shoot(EntityId entity, const ComponentEnemyShooting& s) {
    std::optional<ComponentTransform> transform;
    SendMessage(
        MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) { transform = t; }));
    if (!transform) return;
    const bool mirrored = transform->scale.x < 0.0f;
    // A mirrored enemy faces left: it fires the mirror image of its shot.
    const glm::vec2 direction = mirrored ? glm::vec2(-s.Direction.x, s.Direction.y) : s.Direction;
    const float angle = mirrored ? kPi - s.Angle : s.Angle;
    const glm::vec2 velocity = s.ShootSpeed * direction;
    SendMessage(MessageAudioEvent(s.ShootSound, transform->translation, glm::vec3(velocity, 0.0f)));

    glm::vec2 offset{0.0f};
    bool hasBehavior = false;
    SendMessage(MessageQuery<ComponentEnemyBehavior>(
        entity, [&](ComponentEnemyBehavior&) { hasBehavior = true; }));
    if (hasBehavior) {
        SendMessage(MessageQueryBone(entity, s.TargetBone, [&](glm::vec2&) {
            SendMessage(
                MessageQueryBone(entity, s.SpawnBone, [&](glm::vec2& bone) { offset = bone; }));
            if (mirrored) offset.x = -offset.x;
        }));
    }
    const glm::vec3 muzzle{transform->translation.x + offset.x, transform->translation.y + offset.y,
                           transform->translation.z};
    const nlohmann::json projectile = ProjectileJson(muzzle, angle, velocity);
    SendMessage(MessageCreateEntity("", s.ProjectileEntity, projectile));
}

nlohmann::json SystemEnemyShooting::ProjectileJson(const glm::vec3& translation, float angle,
                                                   const glm::vec2& velocity) {
    return {
        {"Transform",
         {{"Translation",
           {translation.x, translation.y,
            static_cast<double>(translation.z) - kProjectileDepthOffset}},
          {"Rotation", {0, 0, static_cast<double>(angle) * kRadiansToDegrees}}}},
        {"Physics", {{"Acceleration", {0, 0, 0}}, {"Velocity", {velocity.x, velocity.y, 0}}}},
    };
}

void SystemEnemyShooting::LeaveRange(EntityId entity, const ComponentEnemyShooting& s) {
    // A patrolling enemy that is still walking goes back to its walk, not to standing idle.
    std::optional<std::string> walk;
    SendMessage(MessageQuery<ComponentEnemyBehavior>(entity, [&](ComponentEnemyBehavior& b) {
        if (!b.Pausing) walk = b.WalkAnimation;
    }));
    bool moving = false;
    SendMessage(MessageQuery<ComponentPhysics>(
        entity, [&](ComponentPhysics& p) { moving = p.Velocity.x != 0.0f; }));
    const std::string& animation = walk && moving ? *walk : s.IdleAnimation;
    SendMessage(MessageSetAnimation(entity, animation, true, false, 0.0f, 1.0f));
}

void SystemEnemyShooting::DrawDebugOutline() {
    ComponentSprite sprite;
    sprite.texture = "ProgrammerArt/EnemyShootingRangeDebug";
    ComponentTransform record;
    for (const auto& [entity, shooting] : components) {
        const float range = shooting.EnemyRange;
        SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
            record.translation = t.translation;
            record.translation.z += 0.1f;
            // The range is a radius; the sprite's scale is its full size.
            record.scale = {2.0f * range, 2.0f * range, 1.0f};
            SendMessage(MessageSpriteRender(sprite, record));
        }));
    }
}
