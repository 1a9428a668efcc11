#include "game/goals/SystemCheckpointCollision.h"

#include <algorithm>

#include "audio/MessageAudio.h"
#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "engine/TriggerNames.h"
#include "game/player/SystemPlayerHealth.h"
#include "game/vocabulary/ContactQuestions.h"
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
            if (static_cast<const MessageTrigger&>(message).name == trigger::CheckpointRestore) {
                ForEachInIdOrder(components, [&](EntityId id, auto& entry) {
                    if (!entry.Activated) return;
                    const std::string effect = entry.ActivatedEffect;
                    SendMessage(MessageEmitParticle(effect, true, id));
                });
            }
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemCheckpointCollision::Update(float dt) {
    ForEachInIdOrder(components, [&](EntityId id, auto& entry) {
        // Held only before activation: a checkpoint taken at its first update, or restored
        // from a copy saved then, must keep playing its activation.
        if (!entry.AnimationHeld && !entry.Activated) {
            entry.AnimationHeld = true;
            const std::string animation = entry.ActivationAnimation;
            SendMessage(MessageSetAnimation(id, animation, false, false, 0.0f, 0.0f));
            // The animation's handlers may have removed this checkpoint.
            if (!components.count(id)) return;
        }
        ComponentCheckpointCollider& c = entry;
        if (!c.Activated || c.ActivationDone) return;
        if (c.ActivationTime > c.ActivationTimer) {
            c.ActivationTimer += dt;
            return;
        }
        c.ActivationDone = true;
        const std::string activated = c.ActivatedEffect;
        const std::string activation = c.ActivationEffect;
        SendMessage(MessageEmitParticle(activated, true, id));
        SendMessage(MessageEmitParticle(activation, false, id));
    });
}

void SystemCheckpointCollision::CollisionHandler(EntityId entity, EntityId other) {
    auto it = components.find(entity);
    if (it == components.end() || it->second.Activated) return;
    if (!contact::IsUnhurtPlayer(SendMessage, other)) return;

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
    SendMessage(MessageTrigger(trigger::Checkpoint, true));
    SendMessage(MessageEmitParticle(checkpoint.ActivationEffect, true, entity));
}
