#pragma once

#include <typeinfo>

#include "engine/FrameProfile.h"
#include "engine/Message.h"
#include "engine/MessageId.h"

/// Offers `message` to each handler of `handlers` (owning pointers) in order until one consumes
/// it, and says whether one did. While a profile is active, each handler's share of a frame's
/// update and render is timed; otherwise the cost is one test per message.
template <class Handlers>
bool DeliverInTurn(const Handlers& handlers, const Message& message) {
    const int id = message.TypeId();
    FrameProfile* profile =
        id == MessageId::Update || id == MessageId::Render ? FrameProfile::Active() : nullptr;
    if (profile) {
        for (auto& handler : handlers) {
            const auto& timed = *handler;
            const ProfileScope scope(profile, typeid(timed));
            if (handler->HandleMessage(message)) return true;
        }
        return false;
    }
    for (auto& handler : handlers) {
        if (handler->HandleMessage(message)) return true;
    }
    return false;
}
