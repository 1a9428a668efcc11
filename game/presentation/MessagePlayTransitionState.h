#pragma once

#include <string_view>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Asks the slides to play the fade for a state change and then change to `name`; with no
/// slide waiting for it, the change happens at once.
class MessagePlayTransitionState final : public Message {
public:
    explicit MessagePlayTransitionState(std::string_view name) : name(name) {}
    int TypeId() const override { return MessageId::PlayTransitionState; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Playing Animation to transition to state " << name;
    }

    /// Points at the sender's text for the length of one delivery.
    std::string_view name;
};
