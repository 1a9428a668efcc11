#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <utility>

#include "engine/SystemBase.h"

/// Put first in a roster, sees every message the state offers its systems before any of them
/// can consume it: a request that a system answers (the animation system takes "set animation"
/// for the entities it animates) is seen as well as one nobody takes, which the recorder at the
/// end of the bus would miss.
class MessageSpy : public SystemBase {
public:
    explicit MessageSpy(std::function<void(const Message&)> see) : see(std::move(see)) {}
    std::unique_ptr<SystemBase> Clone() const override {
        return std::make_unique<MessageSpy>(*this);
    }
    std::string_view Name() const override { return "Spy"; }
    bool HandleMessage(const Message& message) override {
        see(message);
        return false;
    }

private:
    std::function<void(const Message&)> see;
};
