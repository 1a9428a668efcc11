#pragma once

#include <functional>
#include <string>
#include <typeinfo>
#include <unordered_map>

#include "engine/Message.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"

/// Runs `callback` on entity `entity`'s component of type C, if it has one.
template <class C>
class MessageQuery final : public Message {
public:
    MessageQuery(EntityId entity, const std::function<void(C&)>& callback)
        : entity(entity), callback(callback) {}
    int TypeId() const override { return MessageId::Query; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Query " << typeid(C).name() << " on " << entity;
    }

    EntityId entity;
    const std::function<void(C&)>& callback;
};

/// Runs `callback` on a system's whole table of C; it may change, add or erase entries.
template <class C>
class MessageQueryContainer final : public Message {
public:
    explicit MessageQueryContainer(std::function<void(std::unordered_map<EntityId, C>&)> callback)
        : callback(std::move(callback)) {}
    int TypeId() const override { return MessageId::QueryContainer; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Query " << typeid(C).name() << "container";
    }

    std::function<void(std::unordered_map<EntityId, C>&)> callback;
};

/// What the state manager reads of every `MessageAddComponent<C>` to route it.
class MessageAddComponentBase : public Message {
public:
    MessageAddComponentBase(const std::string& state, EntityId entity)
        : state(state), entity(entity) {}
    int TypeId() const override { return MessageId::AddComponent; }
    std::ostream& Trace(std::ostream& out) const override { return out; }

    const std::string& state;
    EntityId entity;
};

/// Adds a ready-made component to an entity of a named state.
template <class C>
class MessageAddComponent final : public MessageAddComponentBase {
public:
    MessageAddComponent(const std::string& state, EntityId entity, C component)
        : MessageAddComponentBase(state, entity), component(std::move(component)) {}

    C component;
};

/// The type-tested downcast for the template messages: exact type, across shared libraries
/// (type_info compares by mangled name when two libraries each carry their own copy).
template <class Concrete>
const Concrete* MessageAs(const Message& message) {
    return typeid(message) == typeid(Concrete) ? static_cast<const Concrete*>(&message) : nullptr;
}
