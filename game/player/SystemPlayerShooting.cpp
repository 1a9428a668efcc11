#include "game/player/SystemPlayerShooting.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/MessageCursor.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "engine/TriggerNames.h"
#include "game/player/SystemPlayerControl.h"
#include "game/vocabulary/GameTriggers.h"
#include "particle/MessageEmitParticle.h"
#include "particle/SystemParticleEmitter.h"
#include "physics2d/SystemPhysics.h"
#include "services/animation/MessageAnimation.h"

namespace {

constexpr double kRadiansToDegrees = 57.29578;
/// Bullets are drawn just in front of the arm.
constexpr double kBulletDepthOffset = 0.01;

std::optional<ShotType> ShotTypeFromName(const std::string& name) {
    if (name == "UNKNOWN") return ShotType::UNKNOWN;
    if (name == "Regular") return ShotType::Regular;
    if (name == "Shotgun") return ShotType::Shotgun;
    return std::nullopt;
}

}  // namespace

void from_json(const nlohmann::json& j, ComponentPlayerShooting& s) {
    using json_read::Key;
    if (j.is_object() && j.contains("Shot Type")) {
        const std::string name = j.at("Shot Type").get<std::string>();
        const auto type = ShotTypeFromName(name);
        if (!type) {
            throw nlohmann::json::other_error::create(
                501, "\"Shot Type\": unknown \"" + name + "\" (Regular or Shotgun)", &j);
        }
        s.Type = *type;
    }
    Key(j, "Shoot Speed", s.ShootSpeed);
    Key(j, "Auto Shoot Cool Down", s.AutoShootCoolDown);
    Key(j, "Recoil Multiplier", s.RecoilMultiplier);
    Key(j, "Shot Spread", s.ShotSpread);
    Key(j, "Amount of Shot", s.AmountOfShot);
    Key(j, "Shoot Sound", s.ShootSound);
    Key(j, "Idle Animation", s.IdleAnimation);
    Key(j, "Aim Bone", s.AimBone);
    Key(j, "Offset Bone", s.OffsetBone);
    Key(j, "Bullet Archetype", s.BulletArchetype);
    Key(j, "Explosion Effect", s.ExplosionEffect);
    Key(j, "Glow Effect", s.GlowEffect);
    Key(j, "Sparks Effect", s.SparksEffect);
}

bool SystemPlayerShooting::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update: {
            const float dt = static_cast<const MessageUpdate&>(message).dt;
            for (auto& [arm, s] : components) {
                if (s.paused || s.killed) continue;
                Aim(arm, s);
                if (!s.idleStarted) {
                    SendMessage(MessageSetAnimation(arm, s.IdleAnimation, true, false, 0.0f, 1.0f));
                    s.idleStarted = true;
                }
                if (s.triggerHeld) {
                    s.cooldown -= dt;
                    if (s.cooldown < 0.0f) {
                        Fire(arm, s);
                        s.cooldown = s.AutoShootCoolDown;
                    }
                }
            }
            return false;
        }
        case MessageId::Key:
            OnKey(message);
            return false;
        case MessageId::CursorPosition: {
            const glm::vec2 cursor = static_cast<const MessageCursorPosition&>(message).position;
            for (auto& [arm, s] : components) s.cursorPosition = cursor;
            return false;
        }
        case MessageId::CursorWorldPosition: {
            auto& world = static_cast<const MessageCursorWorldPosition&>(message);
            if (world.camera.empty()) {
                for (auto& [arm, s] : components) s.cursorOffset = world.position;
            }
            return false;
        }
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            OnTrigger(trigger.name, trigger.value);
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemPlayerShooting::OnKey(const Message& message) {
    auto& key = static_cast<const MessageKey&>(message);
    if (key.key != MessageKey::kMouseFirst && key.key != MessageKey::kMouseSecond) return;
    for (auto& [arm, s] : components) {
        if (s.paused || s.killed) continue;
        if (key.action == MessageKey::kPressed) {
            s.triggerHeld = true;
            s.cooldown = s.AutoShootCoolDown;
            Fire(arm, s);
        } else if (key.action == MessageKey::kReleased) {
            s.triggerHeld = false;
        }
    }
}

void SystemPlayerShooting::OnTrigger(std::string_view name, bool value) {
    if (name == trigger::Pause) {
        for (auto& [arm, s] : components) s.paused = value;
    } else if (name == trigger::KillPlayer) {
        for (auto& [arm, s] : components) {
            s.killed = true;
            bool anyGrounded = false;
            SendMessage(MessageQueryContainer<ComponentPlayerControl>(
                [&](std::unordered_map<EntityId, ComponentPlayerControl>& controls) {
                    for (auto& [entity, control] : controls) anyGrounded |= control.grounded;
                }));
            // A player dying on the ground plays a whole-body animation without the arm.
            if (anyGrounded) {
                SendMessage(MessageQuery<ComponentTransform>(arm, [](ComponentTransform& t) {
                    t.scale.x = 0.0f;
                    t.scale.y = 0.0f;
                }));
            }
        }
    }
}

void SystemPlayerShooting::Aim(EntityId arm, ComponentPlayerShooting& s) {
    SendMessage(MessageQuery<ComponentTransform>(arm, [&](ComponentTransform& t) {
        const glm::vec2 aim =
            s.cursorPosition + s.cursorOffset - glm::vec2(t.translation.x, t.translation.y);
        const float length = std::sqrt(aim.x * aim.x + aim.y * aim.y);
        // A cursor exactly on the arm has no direction; keep the last one rather than fire
        // bullets with undefined velocity.
        if (length > 0.0f) {
            s.aimVector = aim;
            s.aimDirection = aim / length;
            s.aimAngle = std::acos(std::clamp(s.aimDirection.x, -1.0f, 1.0f));
            if (s.aimDirection.y < 0.0f) s.aimAngle = -s.aimAngle;
        }
        SendMessage(MessageQueryBone(arm, s.AimBone, [&](glm::vec2& bone) {
            bone = s.aimVector;
            if (bone.x < 0.0f) {
                bone.x = -bone.x;
                t.scale.x = -std::fabs(t.scale.x);
            } else {
                t.scale.x = std::fabs(t.scale.x);
            }
        }));
    }));
}

void SystemPlayerShooting::Fire(EntityId arm, ComponentPlayerShooting& s) {
    switch (s.Type) {
        case ShotType::Regular:
            Shoot(arm, s);
            break;
        case ShotType::Shotgun:
            ScatterShot(arm, s);
            break;
        default:
            break;
    }
}

void SystemPlayerShooting::Shoot(EntityId arm, ComponentPlayerShooting& s) {
    SendMessage(MessageSetAnimation(arm, ComponentPlayerShooting::kShootAnimation, false, false,
                                    0.0f, 1.0f));
    SendMessage(MessageSetAnimation(arm, s.IdleAnimation, true, true, 0.0f, 1.0f));
    // Copied out: creating the bullet adds transforms, which may move the arm's in its table.
    std::optional<ComponentTransform> transform;
    SendMessage(
        MessageQuery<ComponentTransform>(arm, [&](ComponentTransform& t) { transform = t; }));
    if (!transform) return;
    const glm::vec2 velocity = s.ShootSpeed * s.aimDirection;
    // Copied: `s` lives in this system's table, which the sends below leave alone, but the
    // copy keeps the values fixed for the whole shot.
    const ComponentPlayerShooting shooting = s;
    SpawnBullet(arm, shooting, transform->translation, shooting.aimAngle, velocity);
    Recoil(transform->parent, shooting, velocity);
    for (const std::string* effect :
         {&shooting.ExplosionEffect, &shooting.GlowEffect, &shooting.SparksEffect}) {
        SendMessage(MessageEmitParticle(*effect, true, arm));
    }
}

void SystemPlayerShooting::ScatterShot(EntityId arm, ComponentPlayerShooting& s) {
    SendMessage(MessageSetAnimation(arm, ComponentPlayerShooting::kShootAnimation, false, false,
                                    0.0f, 1.0f));
    std::optional<ComponentTransform> transform;
    SendMessage(
        MessageQuery<ComponentTransform>(arm, [&](ComponentTransform& t) { transform = t; }));
    if (!transform) return;
    const ComponentPlayerShooting shooting = s;
    for (int i = 0; i < shooting.AmountOfShot; ++i) {
        // The C library's generator: normal play leaves it unseeded, so every run fans out the
        // same way; a recording or replay seeds it from the recording (GameProgram.cpp).
        const int r = std::rand() % 100;
        const float angle = shooting.aimAngle - shooting.ShotSpread * 0.5f +
                            shooting.ShotSpread * static_cast<float>(r) * 0.01f;
        const glm::vec2 velocity =
            shooting.ShootSpeed * glm::vec2(std::cos(angle), std::sin(angle));
        SpawnBullet(arm, shooting, transform->translation, angle, velocity);
    }
}

void SystemPlayerShooting::SpawnBullet(EntityId arm, const ComponentPlayerShooting& s,
                                       const glm::vec3& armTranslation, float angle,
                                       const glm::vec2& velocity) {
    SendMessage(MessageAudioEvent(s.ShootSound, armTranslation, glm::vec3(velocity, 0.0f)));
    glm::vec2 muzzle{0.0f};
    SendMessage(MessageQueryBone(arm, s.OffsetBone, [&](glm::vec2& bone) {
        muzzle = bone;
        if (s.aimVector.x < 0.0f) muzzle.x = -muzzle.x;
    }));
    SendMessage(MessageQuery<ComponentParticleEmitter>(arm, [&](ComponentParticleEmitter& e) {
        for (auto& [name, settings] : e.effects) {
            settings.TranslationOffset.x = muzzle.x;
            settings.TranslationOffset.y = muzzle.y;
        }
    }));
    const nlohmann::json bullet = BulletJson(armTranslation, muzzle, angle, velocity);
    SendMessage(MessageCreateEntity("", s.BulletArchetype, bullet));
}

nlohmann::json SystemPlayerShooting::BulletJson(const glm::vec3& arm, const glm::vec2& muzzle,
                                                float angle, const glm::vec2& velocity) {
    return {
        {"Transform",
         {{"Translation",
           {arm.x + muzzle.x, arm.y + muzzle.y, static_cast<double>(arm.z) - kBulletDepthOffset}},
          {"Rotation", {0, 0, static_cast<double>(angle) * kRadiansToDegrees}}}},
        {"Physics", {{"Velocity", {velocity.x, velocity.y, 0}}}},
    };
}

void SystemPlayerShooting::Recoil(EntityId parent, const ComponentPlayerShooting& s,
                                  const glm::vec2& velocity) {
    float walkSpeedMax = 0.0f;
    float jumpVelocity = 0.0f;
    bool hasControl = false;
    SendMessage(MessageQuery<ComponentPlayerControl>(parent, [&](ComponentPlayerControl& c) {
        hasControl = true;
        walkSpeedMax = c.WalkSpeedMax;
        jumpVelocity = c.JumpVelocity;
    }));
    SendMessage(MessageQuery<ComponentPhysics>(parent, [&](ComponentPhysics& p) {
        p.Velocity.x -= s.RecoilMultiplier * velocity.x;
        p.Velocity.y -= s.RecoilMultiplier * velocity.y;
        if (hasControl) {
            p.Velocity.x = std::clamp(p.Velocity.x, -walkSpeedMax, walkSpeedMax);
            p.Velocity.y = std::clamp(p.Velocity.y, -jumpVelocity, jumpVelocity);
        }
    }));
}
