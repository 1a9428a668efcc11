#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/MessageEntity.h"
#include "engine/SystemBase.h"

/// A one-state bus for the presentation systems: systems in the order they were added, each
/// sending through the bus; `onMessage` sees what no system consumes while it is delivered.
class PresentationBus {
public:
    template <class S, class... A>
    S& Add(A&&... args) {
        auto system = std::make_unique<S>(std::forward<A>(args)...);
        system->SendMessage = [this](const Message& message) { return Send(message); };
        S& added = *system;
        systems.push_back(std::move(system));
        return added;
    }

    bool Send(const Message& message) {
        for (auto& system : systems) {
            if (system->HandleMessage(message)) return true;
        }
        if (onMessage) onMessage(message);
        return false;
    }

    /// Adds the component `name` read from `json` to `entity`; fails the test if nobody took it.
    void Component(EntityId entity, const std::string& name, const nlohmann::json& json) {
        if (!Send(MessageAddComponentJSON("", entity, json, name))) {
            throw std::runtime_error("no system reads \"" + name + "\"");
        }
    }

    std::vector<std::unique_ptr<SystemBase>> systems;
    std::function<void(const Message&)> onMessage;
};
