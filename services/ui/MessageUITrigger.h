#pragma once

#include <string_view>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Activates or deactivates the UI element of this name and what belongs to it.
class MessageUIActiveTrigger final : public Message {
public:
    MessageUIActiveTrigger(std::string_view name, bool value) : name(name), value(value) {}
    int TypeId() const override { return MessageId::UIActiveTrigger; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Triggered " << name << " activity to " << (value ? "1" : "0") << std::endl;
    }

    std::string_view name;
    bool value;
};

/// Shows or hides the UI element of this name and what belongs to it.
class MessageUIVisibleTrigger final : public Message {
public:
    MessageUIVisibleTrigger(std::string_view name, bool value) : name(name), value(value) {}
    int TypeId() const override { return MessageId::UIVisibleTrigger; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Triggered " << name << " visibility to " << (value ? "1" : "0") << std::endl;
    }

    std::string_view name;
    bool value;
};
