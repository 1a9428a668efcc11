#pragma once

#include "engine/Manager.h"
#include "game/vocabulary/MessageContactFacts.h"

/// The questions a contact handler asks about the other party, answered through
/// `MessageContactFacts`.
namespace contact {

inline ContactFacts Ask(const SendCallback& send, EntityId entity) {
    ContactFacts facts;
    send(MessageContactFacts(entity, facts));
    return facts;
}

/// A player that can still act on what it touches: doors, teapots, checkpoints, triggers.
inline bool IsUnhurtPlayer(const SendCallback& send, EntityId entity) {
    const ContactFacts facts = Ask(send, entity);
    return facts.player && !facts.playerHurt;
}

inline bool IsEnemy(const SendCallback& send, EntityId entity) {
    return Ask(send, entity).enemy;
}

/// For an owner's `HandleMessage`: fills in `message`'s facts when it asks about an entity of
/// `components`. Always false, so that every owner is asked.
template <class Table, class Fill>
bool Answer(const Message& message, const Table& components, Fill fill) {
    auto& question = static_cast<const MessageContactFacts&>(message);
    auto it = components.find(question.entity);
    if (it != components.end()) fill(question.facts, it->second);
    return false;
}

}  // namespace contact
