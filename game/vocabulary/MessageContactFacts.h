#pragma once

#include "engine/Message.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"

/// What an entity is to the game's contacts. Each kind's owner fills in its own part.
struct ContactFacts {
    bool player = false;
    /// Hurt or killed since the last checkpoint restore.
    bool playerHurt = false;
    bool enemy = false;
    /// Hit by a bullet: on its way out and harmless.
    bool enemyHit = false;
    bool enemyBullet = false;
    bool playerBullet = false;
    bool deathWall = false;
};

/// Asks every system what `entity` is. No system consumes it, so each owner of a kind answers
/// for its own entities and the asker needs no header of the owner's area: the player, the
/// bullets, the enemies, the hazards and the goals ask one another through this alone.
class MessageContactFacts final : public Message {
public:
    MessageContactFacts(EntityId entity, ContactFacts& facts) : entity(entity), facts(facts) {}
    int TypeId() const override { return MessageId::ContactFacts; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Contact facts of " << entity;
    }

    EntityId entity;
    ContactFacts& facts;
};
