#include "game/enemies/SystemEnemyCollision.h"

#include <glm/vec3.hpp>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "game/enemies/SystemEnemyBehavior.h"
#include "game/vocabulary/ContactQuestions.h"
#include "particle/MessageEmitParticle.h"
#include "physics2d/MessageCollision.h"

void from_json(const nlohmann::json& j, ComponentEnemyCollider& c) {
    json_read::Vec<4>(j, "Hit Color", c.HitColor);
    json_read::Key(j, "Death Sound", c.DeathSound);
    json_read::Key(j, "Death Effect", c.DeathEffect);
    json_read::Key(j, "Kills Player On Contact", c.KillsPlayerOnContact);
}

bool SystemEnemyCollision::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Collision: {
            auto& contact = static_cast<const MessageCollision&>(message);
            CollisionHandler(contact.Entity, contact.Other);
            return false;
        }
        case MessageId::ContactFacts:
            return contact::Answer(message, components,
                                   [](ContactFacts& facts, const ComponentEnemyCollider& c) {
                                       facts.enemy = true;
                                       facts.enemyHit = c.IsHit;
                                   });
        default:
            return System::HandleMessage(message);
    }
}

void SystemEnemyCollision::CollisionHandler(EntityId entity, EntityId other) {
    auto it = components.find(entity);
    if (it == components.end() || it->second.IsHit) return;
    if (contact::Ask(SendMessage, other).playerBullet) EnemyBulletCollision(entity);
}

void SystemEnemyCollision::EnemyBulletCollision(EntityId entity) {
    ComponentEnemyCollider& collider = components.at(entity);
    if (collider.IsDying) return;
    collider.IsDying = true;
    collider.IsHit = true;
    collider.DeathTimer = 0.0f;
    // Copied: the sends below may reach handlers that add to this table.
    const ComponentEnemyCollider record = collider;
    SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
        SendMessage(MessageAudioEvent(record.DeathSound, t.translation, glm::vec3(0.0f)));
    }));
    SendMessage(MessageQuery<ComponentEnemyBehavior>(entity, [](ComponentEnemyBehavior& b) {
        b.WalkSpeed = 0.0f;
        b.AnimationDirty = true;
    }));
    SendMessage(MessageEmitParticle(record.DeathEffect, true, entity));
}

void SystemEnemyCollision::Update(float dt) {
    for (auto& [entity, collider] : components) {
        if (!collider.IsDying) continue;
        collider.DeathTimer += dt;
        if (collider.DeathTimer >= collider.DeathDelay) SendMessage(MessageDestroyEntity(entity));
    }
}
