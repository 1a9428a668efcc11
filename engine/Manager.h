#pragma once

#include <functional>

#include "engine/Message.h"

/// The bus entry every manager, state and system sends through. Empty until attached.
using SendCallback = std::function<bool(const Message&)>;

/// Base of every message handler: the engine, its managers, states and systems.
class Manager {
public:
    virtual ~Manager() = default;
    /// Returns true to consume the message, which ends its delivery.
    virtual bool HandleMessage(const Message& message) = 0;

    SendCallback SendMessage;
};
