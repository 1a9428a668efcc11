#pragma once

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Sent by the window service when the window is closed; ends the main loop.
class MessageQuit final : public Message {
public:
    int TypeId() const override { return MessageId::Quit; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Quit"; }
};
