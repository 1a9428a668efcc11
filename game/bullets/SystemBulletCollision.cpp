#include "game/bullets/SystemBulletCollision.h"

#include <glm/vec3.hpp>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/MessageEntity.h"
#include "engine/SystemTransform.h"
#include "game/vocabulary/ContactQuestions.h"
#include "particle/MessageEmitParticle.h"
#include "physics2d/MessageCollision.h"
#include "physics2d/SystemPhysics.h"
#include "tiled/MessageCollisionTile.h"

void from_json(const nlohmann::json& j, ComponentBulletCollider& collider) {
    json_read::Key(j, "Tile Collide Sound", collider.TileCollideSound);
    json_read::Key(j, "Tile Collide Effect", collider.TileCollideEffect);
}

bool SystemBulletCollision::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::ContactFacts) {
        return contact::Answer(message, components,
                               [](ContactFacts& facts, const auto&) { facts.playerBullet = true; });
    }
    if (message.TypeId() == MessageId::Collision) {
        EnemyHit(static_cast<const MessageCollision&>(message));
        return false;
    }
    if (message.TypeId() != MessageId::CollisionTile) return System::HandleMessage(message);
    auto& contact = static_cast<const MessageCollisionTile&>(message);
    auto it = components.find(contact.Entity);
    // Bullets fly through one-way platforms.
    if (it == components.end() || contact.Tile.Type.canJumpThrough) return false;
    const ComponentBulletCollider collider = it->second;
    const EntityId bullet = contact.Entity;
    SendMessage(MessageEmitParticle(collider.TileCollideEffect, true, bullet));
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};
    SendMessage(MessageQuery<ComponentTransform>(
        bullet, [&](ComponentTransform& t) { position = t.translation; }));
    SendMessage(MessageQuery<ComponentPhysics>(
        bullet, [&](ComponentPhysics& p) { velocity = p.Velocity; }));
    SendMessage(MessageAudioEvent(collider.TileCollideSound, position, velocity));
    SendMessage(MessageDestroyEntity(bullet));
    return false;
}

void SystemBulletCollision::EnemyHit(const MessageCollision& contact) {
    if (!components.count(contact.Entity)) return;
    // The enemy's own reaction answers the mirrored contact.
    if (contact::IsEnemy(SendMessage, contact.Other))
        SendMessage(MessageDestroyEntity(contact.Entity));
}
