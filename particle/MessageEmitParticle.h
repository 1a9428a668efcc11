#pragma once

#include <string_view>

#include "engine/Message.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"

/// Starts (restarting the count from zero) or stops the effect `Effect` of the emitter on
/// `Entity`. Not consumed; an entity without that effect is left alone.
class MessageEmitParticle final : public Message {
public:
    MessageEmitParticle(std::string_view effect, bool start, EntityId entity)
        : Effect(effect), Start(start), Entity(entity) {}
    int TypeId() const override { return MessageId::EmitParticle; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Emit Particles"; }

    std::string_view Effect;
    bool Start;
    EntityId Entity;
};
