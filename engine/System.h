#pragma once

#include <memory>
#include <string_view>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "engine/JsonRead.h"
#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"
#include "engine/SystemBase.h"

/// The storage and generic handling every system shares. C is the component, a plain record
/// with a `static constexpr std::string_view kName` (its key in entity files) and a JSON reader
/// `void from_json(const nlohmann::json&, C&)` found by argument-dependent lookup, which
/// overwrites only the keys present. S is the concrete system deriving from this.
template <class C, class S>
class System : public SystemBase {
public:
    using Component = C;

    std::unique_ptr<SystemBase> Clone() const override {
        return std::make_unique<S>(static_cast<const S&>(*this));
    }
    std::string_view Name() const override { return C::kName; }
    std::vector<EntityId> Entities() const override {
        std::vector<EntityId> ids;
        ids.reserve(components.size());
        for (const auto& entry : components) ids.push_back(entry.first);
        return ids;
    }

    bool HandleMessage(const Message& message) override {
        switch (message.TypeId()) {
            case MessageId::Query: {
                auto* query = MessageAs<MessageQuery<C>>(message);
                if (!query) return false;
                auto it = components.find(query->entity);
                if (it != components.end()) query->callback(it->second);
                return true;
            }
            case MessageId::QueryContainer: {
                auto* query = MessageAs<MessageQueryContainer<C>>(message);
                if (!query) return false;
                query->callback(components);
                return true;
            }
            case MessageId::AddComponent: {
                auto* add = MessageAs<MessageAddComponent<C>>(message);
                if (!add) return false;
                components[add->entity] = add->component;
                return true;
            }
            case MessageId::DestroyEntity:
                components.erase(static_cast<const MessageDestroyEntity&>(message).entity);
                return false;
            case MessageId::AddComponentJSON: {
                auto& add = static_cast<const MessageAddComponentJSON&>(message);
                if (add.component != C::kName) return false;
                // Built aside first so that a type error leaves the table untouched.
                json_read::RequireObject(add.json);
                components[add.entity] = add.json.template get<C>();
                return true;
            }
            default:
                return false;
        }
    }

    std::unordered_map<EntityId, C> components;
};
