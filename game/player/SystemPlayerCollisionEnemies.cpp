// SystemPlayerCollision, continued: the player's contacts with enemies and enemy bullets.

#include <cmath>

#include "audio/MessageAudio.h"
#include "engine/MessageEntity.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "game/vocabulary/ContactQuestions.h"
#include "game/vocabulary/GameTriggers.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemPhysics.h"

void SystemPlayerCollision::EnemyContact(EntityId player, EntityId other) {
    if (components.at(player).invincible) return;
    if (components.at(player).UnhurtWhileCollecting) {
        bool collecting = false;
        SendMessage(MessageQuery<ComponentPlayerControl>(
            player, [&](ComponentPlayerControl& c) { collecting = c.state == PlayerState::Win; }));
        if (collecting) return;
    }
    const ContactFacts facts = contact::Ask(SendMessage, other);
    // An enemy that is already hit is on its way out and harmless.
    bool harmful = facts.enemy && !facts.enemyHit;
    if (facts.enemyBullet) {
        harmful = true;
        // Spent on the player, even one already hurt; otherwise it would fly on through.
        SendMessage(MessageDestroyEntity(other));
    }
    auto it = components.find(player);
    if (!harmful || it == components.end() || it->second.hurt) return;
    HurtByContact(player, other);
    TellCause(components.at(player),
              facts.enemyBullet ? trigger::KilledByEnemyBullet : trigger::KilledByEnemy);
    SendMessage(MessageTrigger(trigger::KillPlayer, true));
}

void SystemPlayerCollision::HurtByContact(EntityId player, EntityId other) {
    const std::string hurtSound = components.at(player).HurtSound;
    SendMessage(MessageAudioEvent(hurtSound, glm::vec3(0.0f), glm::vec3(0.0f)));
    // A box contact leaves the push-out in the player's box. A round bullet's test writes
    // none, so the push is read from where the bullet is.
    bool otherIsBox = false;
    SendMessage(MessageQuery<ComponentCollisionBox>(
        other, [&](ComponentCollisionBox&) { otherIsBox = true; }));
    float penetrationX = 0.0f;
    if (otherIsBox) {
        SendMessage(MessageQuery<ComponentCollisionBox>(
            player, [&](ComponentCollisionBox& box) { penetrationX = box.Penetration.x; }));
    } else {
        float playerX = 0.0f;
        float otherX = 0.0f;
        SendMessage(MessageQuery<ComponentTransform>(
            player, [&](ComponentTransform& t) { playerX = t.translation.x; }));
        SendMessage(MessageQuery<ComponentTransform>(
            other, [&](ComponentTransform& t) { otherX = t.translation.x; }));
        penetrationX = playerX - otherX;
    }
    bool grounded = false;
    SendMessage(MessageQuery<ComponentPlayerControl>(
        player, [&](ComponentPlayerControl& c) { grounded = c.grounded; }));
    SendMessage(MessageQuery<ComponentPhysics>(player, [&](ComponentPhysics& p) {
        p.Velocity.y = kHurtJumpSpeed;
        p.Velocity.x = penetrationX > 0.0f ? kHurtPushSpeed : -kHurtPushSpeed;
    }));
    SendMessage(MessageQuery<ComponentTransform>(player, [&](ComponentTransform& t) {
        // Thrown away from the contact, the player turns to face it.
        if (penetrationX > 0.0f) {
            if (t.scale.x > 0.0f) t.scale.x = -t.scale.x;
        } else if (!(t.scale.x > 0.0f)) {
            t.scale.x = -t.scale.x;
        }
        if (!grounded) t.translation.z = kHurtZ;
    }));
    components.at(player).hurt = true;
}
