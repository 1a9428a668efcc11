#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Entity ids are unique within one state, handed out from 1; 0 means no entity.
using EntityId = int;

/// Builds an entity from `./Assets/Data/Entity/<file>.json` with merge-patch overrides.
class MessageCreateEntity final : public Message {
public:
    MessageCreateEntity(std::string state, std::string_view file, const nlohmann::json& overrides)
        : state(std::move(state)), file(file), overrides(overrides) {}
    int TypeId() const override { return MessageId::CreateEntity; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Added " << file << " to " << state;
    }

    /// Empty means the current state; the state manager fills it in before forwarding.
    mutable std::string state;
    std::string_view file;
    const nlohmann::json& overrides;
};

/// Adds the component named `component`, read from `json`, to an entity of a named state.
/// `json` is read where it lies, inside its entity's description, so that a type error names
/// its whole key path ("/Physics/Velocity").
class MessageAddComponentJSON final : public Message {
public:
    MessageAddComponentJSON(std::string state, EntityId entity, const nlohmann::json& json,
                            std::string component)
        : state(std::move(state)), component(std::move(component)), entity(entity), json(json) {}
    int TypeId() const override { return MessageId::AddComponentJSON; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Added " << component << " to entity " << entity << " in " << state;
    }

    std::string state;
    std::string component;
    EntityId entity;
    const nlohmann::json& json;
    /// Set by the state manager when a system of the named state took the component; the bus
    /// answer alone cannot say, since the manager always consumes the message.
    mutable bool taken = false;
};

/// Destroys an entity of the current state at its next update.
class MessageDestroyEntity final : public Message {
public:
    explicit MessageDestroyEntity(EntityId entity) : entity(entity) {}
    int TypeId() const override { return MessageId::DestroyEntity; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Destroyed entity " << entity;
    }

    EntityId entity;
};

/// Announces, once, that an entity and all its children are complete.
class MessageEntityBirth final : public Message {
public:
    explicit MessageEntityBirth(EntityId entity) : entity(entity) {}
    int TypeId() const override { return MessageId::EntityBirth; }
    std::ostream& Trace(std::ostream& out) const override { return out; }

    EntityId entity;
};

/// Asks the current state for its table of entity id -> entity file name.
class MessageQueryEntityNames final : public Message {
public:
    explicit MessageQueryEntityNames(const std::unordered_map<EntityId, std::string>** result)
        : result(result) {}
    int TypeId() const override { return MessageId::QueryEntityNames; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Query entity names"; }

    const std::unordered_map<EntityId, std::string>** result;
};
