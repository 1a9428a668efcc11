#pragma once

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Asks for the death transition: the slides fade out and then request the checkpoint restore.
/// It may arrive in several consecutive frames; once the slides play, repeats change nothing.
class MessagePlayTransitionReloadCheckpoint final : public Message {
public:
    int TypeId() const override { return MessageId::PlayTransitionReloadCheckpoint; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Playing Transition Animation to reload checkpoint ";
    }
};
