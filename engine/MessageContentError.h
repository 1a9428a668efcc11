#pragma once

#include <string>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Sent to the state entered in place of one whose content failed to load: what failed, in the
/// line also written to the error output.
class MessageContentError final : public Message {
public:
    explicit MessageContentError(std::string text) : text(std::move(text)) {}
    int TypeId() const override { return MessageId::ContentError; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Content error: " << text;
    }

    std::string text;
};
