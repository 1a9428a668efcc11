#pragma once

#include <functional>
#include <vector>

#include "engine/Manager.h"
#include "engine/Message.h"

/// A bus of a few handlers in order, for driving systems without an engine. Messages nobody
/// consumed reach `onMessage`, like a recorder at the end of the bus.
class Bus {
public:
    /// Handlers see messages in the order they were attached.
    template <class... M>
    void Attach(M&... managers) {
        (AttachOne(managers), ...);
    }

    bool Send(const Message& message) {
        for (Manager* handler : handlers) {
            if (handler->HandleMessage(message)) return true;
        }
        if (onMessage) onMessage(message);
        return false;
    }

    std::function<void(const Message&)> onMessage;

private:
    void AttachOne(Manager& manager) {
        manager.SendMessage = [this](const Message& message) { return Send(message); };
        handlers.push_back(&manager);
    }

    std::vector<Manager*> handlers;
};
