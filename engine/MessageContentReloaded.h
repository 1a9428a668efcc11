#pragma once

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Sent after a hot reload has replaced the current state: services that cache files read
/// from disk (pictures, sounds) re-read those that changed since. Nothing checks before.
class MessageContentReloaded final : public Message {
public:
    int TypeId() const override { return MessageId::ContentReloaded; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Content reloaded"; }
};
