#pragma once

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Sent once when the main loop starts.
class MessageInitialize final : public Message {
public:
    int TypeId() const override { return MessageId::Initialize; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Initialize"; }
};

/// Sent once per frame with the frame time in seconds (0 while paused).
class MessageUpdate final : public Message {
public:
    explicit MessageUpdate(float dt) : dt(dt) {}
    int TypeId() const override { return MessageId::Update; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Update " << 1.0f / dt; }

    float dt;
};

/// Sent once per frame after the update; drawing happens here.
class MessageRender final : public Message {
public:
    int TypeId() const override { return MessageId::Render; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Render"; }
};
