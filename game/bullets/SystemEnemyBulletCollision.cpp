#include "game/bullets/SystemEnemyBulletCollision.h"

#include <glm/vec3.hpp>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/MessageEntity.h"
#include "engine/SystemTransform.h"
#include "game/vocabulary/ContactQuestions.h"
#include "particle/MessageEmitParticle.h"
#include "physics2d/SystemPhysics.h"
#include "tiled/MessageCollisionTile.h"

void from_json(const nlohmann::json& j, ComponentEnemyBulletCollider& collider) {
    json_read::Key(j, "Tile Collide Sound", collider.TileCollideSound);
    json_read::Key(j, "Tile Collide Effect", collider.TileCollideEffect);
}

bool SystemEnemyBulletCollision::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::ContactFacts) {
        return contact::Answer(message, components,
                               [](ContactFacts& facts, const auto&) { facts.enemyBullet = true; });
    }
    if (message.TypeId() != MessageId::CollisionTile) return System::HandleMessage(message);
    auto& contact = static_cast<const MessageCollisionTile&>(message);
    auto it = components.find(contact.Entity);
    if (it == components.end() || contact.Tile.Type.canJumpThrough) return false;
    const ComponentEnemyBulletCollider collider = it->second;
    const EntityId bullet = contact.Entity;
    SendMessage(MessageEmitParticle(collider.TileCollideEffect, true, bullet));
    SendMessage(MessageQuery<ComponentTransform>(bullet, [&](ComponentTransform& t) {
        SendMessage(MessageQuery<ComponentPhysics>(bullet, [&](ComponentPhysics& p) {
            SendMessage(MessageAudioEvent(collider.TileCollideSound, t.translation, p.Velocity));
        }));
    }));
    SendMessage(MessageDestroyEntity(bullet));
    return false;
}
