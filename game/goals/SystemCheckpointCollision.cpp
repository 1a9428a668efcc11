#include "game/goals/SystemCheckpointCollision.h"

#include <algorithm>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/goals/EntityOrder.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerHealth.h"
#include "particle/MessageEmitParticle.h"
#include "physics2d/MessageCollision.h"
#include "services/animation/MessageAnimation.h"

void from_json(const nlohmann::json& j, ComponentCheckpointCollider& c) {
    json_read::Key(j, "Lives Restored", c.LivesRestored);
    json_read::Key(j, "Activation Animation", c.ActivationAnimation);
    json_read::Key(j, "Activation Sound", c.ActivationSound);
    json_read::Key(j, "Activation Time", c.ActivationTime);
    json_read::Key(j, "Activation Effect", c.ActivationEffect);
    json_read::Key(j, "Activated Effect", c.ActivatedEffect);
}

bool SystemCheckpointCollision::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Collision: {
            auto& contact = static_cast<const MessageCollision&>(message);
            CollisionHandler(contact.Entity, contact.Other);
            return false;
        }
        case MessageId::Trigger:
            if (static_cast<const MessageTrigger&>(message).name == "Checkpoint Restore") {
                for (EntityId id : SortedIds(components)) {
                    auto it = components.find(id);
                    if (it == components.end() || !it->second.Activated) continue;
                    const std::string effect = it->second.ActivatedEffect;
                    SendMessage(MessageEmitParticle(effect, true, id));
                }
            }
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemCheckpointCollision::Update(float dt) {
    for (EntityId id : SortedIds(components)) {
        auto it = components.find(id);
        if (it == components.end()) continue;
        // Held only before activation: a checkpoint taken at its first update, or restored
        // from a copy saved then, must keep playing its activation.
        if (!it->second.AnimationHeld && !it->second.Activated) {
            it->second.AnimationHeld = true;
            const std::string animation = it->second.ActivationAnimation;
            SendMessage(MessageSetAnimation(id, animation, false, false, 0.0f, 0.0f));
            it = components.find(id);
            if (it == components.end()) continue;
        }
        ComponentCheckpointCollider& c = it->second;
        if (!c.Activated || c.ActivationDone) continue;
        if (c.ActivationTime > c.ActivationTimer) {
            c.ActivationTimer += dt;
            continue;
        }
        c.ActivationDone = true;
        const std::string activated = c.ActivatedEffect;
        const std::string activation = c.ActivationEffect;
        SendMessage(MessageEmitParticle(activated, true, id));
        SendMessage(MessageEmitParticle(activation, false, id));
    }
}

void SystemCheckpointCollision::CollisionHandler(EntityId entity, EntityId other) {
    auto it = components.find(entity);
    if (it == components.end() || it->second.Activated) return;
    bool player = false;
    bool hurt = false;
    SendMessage(MessageQuery<ComponentPlayerCollider>(other, [&](ComponentPlayerCollider& p) {
        player = true;
        hurt = p.hurt;
    }));
    if (!player || hurt) return;

    // Copied: the sends below reach handlers that may change this table.
    const ComponentCheckpointCollider checkpoint = it->second;
    SendMessage(MessageQuery<ComponentPlayerHealth>(other, [&](ComponentPlayerHealth& health) {
        health.Health = std::min(health.Health + checkpoint.LivesRestored, health.MaxHealth);
    }));
    SendMessage(
        MessageSetAnimation(entity, checkpoint.ActivationAnimation, false, false, 0.0f, 1.0f));
    glm::vec3 position{0.0f};
    SendMessage(MessageQuery<ComponentTransform>(
        other, [&](ComponentTransform& t) { position = t.translation; }));
    SendMessage(MessageAudioEvent(checkpoint.ActivationSound, position, glm::vec3(0.0f)));
    it = components.find(entity);
    if (it != components.end()) it->second.Activated = true;
    // Saved after `Activated` is set, so the restored copy holds the checkpoint as taken.
    SendMessage(MessageTrigger("Checkpoint", true));
    SendMessage(MessageEmitParticle(checkpoint.ActivationEffect, true, entity));
}
