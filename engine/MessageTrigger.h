#pragma once

#include <string_view>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// A named boolean event: "Pause", "Exit", "Checkpoint", content-defined zones and more.
class MessageTrigger final : public Message {
public:
    MessageTrigger(std::string_view name, bool value) : name(name), value(value) {}
    int TypeId() const override { return MessageId::Trigger; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Triggered " << name << " to " << (value ? "1" : "0") << std::endl;
    }

    /// Points at the sender's text for the length of one delivery.
    std::string_view name;
    bool value;
};
