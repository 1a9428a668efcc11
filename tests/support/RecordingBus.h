#pragma once

#include <memory>
#include <vector>

#include "engine/Manager.h"
#include "engine/Message.h"
#include "tests/support/RecordingManager.h"

/// A few handlers in order with a recorder at the end, for driving systems without an engine
/// or states: a message goes to each handler until one consumes it, and what nobody consumed
/// reaches `recorder`, as it would reach the recorder at the end of a TestEngine.
class RecordingBus {
public:
    RecordingBus() = default;
    // Handlers keep a send callback that points at this bus.
    RecordingBus(const RecordingBus&) = delete;
    RecordingBus& operator=(const RecordingBus&) = delete;

    /// Borrows handlers that outlive the bus; they see messages in the order attached.
    template <class... M>
    void Attach(M&... managers) {
        (AttachOne(managers), ...);
    }

    /// Makes, owns and attaches a handler of type S.
    template <class S>
    S& Add() {
        owned.push_back(std::make_unique<S>());
        S& added = static_cast<S&>(*owned.back());
        AttachOne(added);
        return added;
    }

    bool Send(const Message& message) {
        for (Manager* handler : handlers) {
            if (handler->HandleMessage(message)) return true;
        }
        recorder.HandleMessage(message);
        return false;
    }

    /// In delivery order; a test may reorder it.
    std::vector<Manager*> handlers;
    RecordingManager recorder;

private:
    void AttachOne(Manager& manager) {
        manager.SendMessage = [this](const Message& message) { return Send(message); };
        handlers.push_back(&manager);
    }

    std::vector<std::unique_ptr<Manager>> owned;
};
