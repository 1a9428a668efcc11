#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "engine/Message.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"

struct ComponentParticlePool;

/// Reaches a particle pool by its effect name. The pool system consumes it and calls back only
/// when a live pool is registered under the name.
class MessageQueryParticlePool final : public Message {
public:
    using Callback = std::function<void(EntityId, ComponentParticlePool&)>;

    MessageQueryParticlePool(std::string_view name, const Callback& callback)
        : name(name), callback(callback) {}
    int TypeId() const override { return MessageId::QueryParticlePool; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Query particle effect " << name;
    }

    std::string_view name;
    const Callback& callback;
};

/// Announces that `count` particles were just appended to the pool named `name` on behalf of
/// the emitter `entity`: they are the last `count` elements of the pool's arrays. Seen by every
/// system and consumed by none, so modifiers can grow their parallel arrays before the emitter
/// companions shape the newborns.
class MessagePopulateParticlePool final : public Message {
public:
    MessagePopulateParticlePool(EntityId entity, std::string_view name, std::uint64_t count)
        : entity(entity), name(name), count(count) {}
    int TypeId() const override { return MessageId::PopulateParticlePool; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Populate particle effect " << name << " on entity " << entity << " with "
                   << count << " particles";
    }

    EntityId entity;
    std::string_view name;
    std::uint64_t count;
};

/// Announces swap-with-last removals from the pool on `entity`. Replaying `indices` in order
/// (swap element [index] with the last, drop the last) keeps any parallel array aligned.
class MessageDeleteParticlePool final : public Message {
public:
    MessageDeleteParticlePool(EntityId entity, std::vector<std::uint64_t> indices)
        : entity(entity), indices(std::move(indices)) {}
    int TypeId() const override { return MessageId::DeleteParticlePool; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Delete particle effect " << entity;
    }

    EntityId entity;
    std::vector<std::uint64_t> indices;
};
