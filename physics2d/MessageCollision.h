#pragma once

#include "engine/Message.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"

/// One side of a contact between two colliders; every contact is sent twice, once from each
/// side. Not consumed by the collision systems, so every responder sees it.
class MessageCollision final : public Message {
public:
    MessageCollision(EntityId entity, EntityId other) : Entity(entity), Other(other) {}
    int TypeId() const override { return MessageId::Collision; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Entity " << Entity << " has collided with entity " << Other;
    }

    /// The entity whose contact is reported.
    EntityId Entity;
    /// The entity it touches.
    EntityId Other;
};
