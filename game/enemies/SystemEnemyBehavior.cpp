#include "game/enemies/SystemEnemyBehavior.h"

#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "game/enemies/SystemEnemyCollision.h"
#include "physics2d/SystemPhysics.h"
#include "services/animation/MessageAnimation.h"

void from_json(const nlohmann::json& j, ComponentEnemyBehavior& b) {
    using json_read::Key;
    Key(j, "Shoot Speed", b.ShootSpeed);
    Key(j, "Walk Speed", b.WalkSpeed);
    Key(j, "Patrol Left End", b.PatrolLeftEnd);
    Key(j, "Patrol Right End", b.PatrolRightEnd);
    Key(j, "Patrol Pause Length", b.PatrolPauseLength);
    Key(j, "Walk Animation", b.WalkAnimation);
    Key(j, "Idle Animation", b.IdleAnimation);
    Key(j, "Hurt Animation", b.HurtAnimation);
    Key(j, "Death Animation", b.DeathAnimation);
}

bool SystemEnemyBehavior::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    Update(static_cast<const MessageUpdate&>(message).dt);
    return false;
}

void SystemEnemyBehavior::Update(float dt) {
    for (auto& [entity, behavior] : components) {
        if (behavior.StartTimer <= kStartUpTime) {
            behavior.StartTimer += dt;
            SendMessage(
                MessageQuery<ComponentPhysics>(entity, [&behavior = behavior](ComponentPhysics& p) {
                    if (p.Velocity.x > 0.0f) behavior.FacingRight = true;
                    if (p.Velocity.x < 0.0f) behavior.FacingRight = false;
                }));
            behavior.PauseTimer = behavior.PatrolPauseLength;
            continue;
        }
        bool hasCollider = false;
        bool dying = false;
        SendMessage(MessageQuery<ComponentEnemyCollider>(entity, [&](ComponentEnemyCollider& c) {
            hasCollider = true;
            dying = c.IsDying;
        }));
        if (!hasCollider) continue;
        if (dying) {
            SendMessage(MessageQuery<ComponentPhysics>(
                entity, [](ComponentPhysics& p) { p.Velocity.x = 0.0f; }));
        } else {
            Patrol(entity, behavior, dt);
        }
        if (behavior.AnimationDirty && !dying) {
            SendMessage(
                MessageSetAnimation(entity, behavior.IdleAnimation, true, false, 0.0f, 1.0f));
            behavior.AnimationDirty = false;
        }
        if (behavior.AnimationDirty && dying) {
            SendMessage(
                MessageSetAnimation(entity, behavior.HurtAnimation, false, false, 0.0f, 1.0f));
            behavior.AnimationDirty = false;
        }
    }
}

void SystemEnemyBehavior::Patrol(EntityId entity, ComponentEnemyBehavior& b, float dt) {
    SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
        SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
            if (b.AnimationDirty) {
                SendMessage(MessageSetAnimation(entity, b.WalkAnimation, true, false, 0.0f, 1.0f));
                b.AnimationDirty = false;
            }
            const float x = t.translation.x;
            // Strict: an enemy standing exactly on an end has not finished its leg.
            const bool legOver = b.FacingRight ? x > b.PatrolRightEnd : b.PatrolLeftEnd > x;
            if (!legOver) return;
            if (b.PauseTimer > 0.0f) {
                b.PauseTimer -= dt;
                if (!b.AnimationDirty && !b.Pausing) {
                    b.AnimationDirty = true;
                    b.Pausing = true;
                    p.Velocity.x = 0.0f;
                }
                return;
            }
            b.Pausing = false;
            b.PauseTimer = b.PatrolPauseLength;
            p.Velocity.x = b.FacingRight ? -b.WalkSpeed : b.WalkSpeed;
            t.scale.x = -t.scale.x;
            b.FacingRight = !b.FacingRight;
            SendMessage(MessageSetAnimation(entity, b.WalkAnimation, true, false, 0.0f, 1.0f));
        }));
    }));
}
