#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// The player's lives. One is lost on every checkpoint restore; at zero the level state is
/// destroyed and the game changes to `LoseState`.
struct ComponentPlayerHealth {
    static constexpr std::string_view kName = "Player Health";

    int MaxHealth = 1;
    int Health = 1;
    /// Kept for content; nothing depends on it.
    float DeathAnimationTime = 0.2f;
    std::string LoseState;
};

/// Reads "Max Health" (also resets Health to it), "Death Animation Time" and "Lose State".
void from_json(const nlohmann::json& j, ComponentPlayerHealth& health);

class SystemPlayerHealth : public System<ComponentPlayerHealth, SystemPlayerHealth> {
public:
    bool HandleMessage(const Message& message) override;
};
