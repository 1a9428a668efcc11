#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Keeps an entity inside a rectangle by wrapping it to the opposite edge; its velocity is
/// kept, so it re-enters with the same motion.
struct ComponentTeleport {
    static constexpr std::string_view kName = "Teleport";

    float Left = 0.0f;
    /// Largest y.
    float Top = 0.0f;
    float Right = 0.0f;
    /// Smallest y.
    float Bottom = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentTeleport& teleport);

class SystemTeleport : public System<ComponentTeleport, SystemTeleport> {
public:
    bool HandleMessage(const Message& message) override;
};
