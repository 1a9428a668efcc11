#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/Message.h"
#include "engine/MessageId.h"

class SystemBase;

/// Hands a prototype system to the state manager, which moves it out of the message.
class MessageAddSystem final : public Message {
public:
    explicit MessageAddSystem(std::unique_ptr<SystemBase>&& system) : system(std::move(system)) {}
    int TypeId() const override { return MessageId::AddSystem; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Added system"; }

    // Mutable so that the receiver can take ownership through the const reference it is given.
    mutable std::unique_ptr<SystemBase> system;
};

/// Asks for another current state; it takes effect at the next update.
class MessageChangeState final : public Message {
public:
    explicit MessageChangeState(std::string_view name) : name(name) {}
    int TypeId() const override { return MessageId::ChangeState; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Changed state to " << name;
    }

    std::string_view name;
};

/// Creates a state and starts loading its scene in the background.
class MessageCreateState final : public Message {
public:
    explicit MessageCreateState(std::string name) : name(std::move(name)) {}
    int TypeId() const override { return MessageId::CreateState; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Added the " << name << " state ";
    }

    std::string name;
};

/// Destroys a state at the next update; an empty name means the current state.
class MessageDestroyState final : public Message {
public:
    explicit MessageDestroyState(std::string_view name) : name(name) {}
    int TypeId() const override { return MessageId::DestroyState; }
    // The misspelling is the established trace text that log readers match on.
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Destoyed the " << name << " state";
    }

    std::string_view name;
};

/// Leaves the current state for `next` for good: the current state is destroyed and `next`
/// entered at the next update (created if it does not exist). `next` is copied before anything
/// is sent, so it may live in a component of the state being left.
inline void LeaveStateFor(const std::function<bool(const Message&)>& send, std::string_view next) {
    const std::string name(next);
    send(MessageDestroyState(""));
    send(MessageChangeState(name));
}
