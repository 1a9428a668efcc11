#pragma once

#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/MessageEntity.h"
#include "engine/SystemBase.h"

/// A one-state bus for the presentation systems: systems in the order they were added, each
/// sending through the bus; what no system consumes is kept as trace text, and `onMessage`
/// sees it while it is delivered.
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
        std::ostringstream text;
        message.Trace(text);
        sent.push_back(text.str());
        if (onMessage) onMessage(message);
        return false;
    }

    /// Adds the component `name` read from `json` to `entity`; fails the test if nobody took it.
    void Component(EntityId entity, const std::string& name, const nlohmann::json& json) {
        if (!Send(MessageAddComponentJSON("", entity, json, name))) {
            throw std::runtime_error("no system reads \"" + name + "\"");
        }
    }

    /// Number of kept messages whose trace text is `text`.
    int Count(const std::string& text) const {
        int n = 0;
        for (const auto& s : sent) n += s == text ? 1 : 0;
        return n;
    }

    std::vector<std::unique_ptr<SystemBase>> systems;
    std::vector<std::string> sent;
    std::function<void(const Message&)> onMessage;
};
