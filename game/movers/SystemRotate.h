#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Turns an entity about z while X or Z is held.
struct ComponentRotate {
    static constexpr std::string_view kName = "Rotate";

    /// Rotational speed while a key is held, per second.
    float Speed = 20.0f;
};

void from_json(const nlohmann::json& j, ComponentRotate& rotate);

class SystemRotate : public System<ComponentRotate, SystemRotate> {
public:
    bool HandleMessage(const Message& message) override;

private:
    /// -1, 0 or +1 times each component's speed.
    void Rotate(float direction);
};
