#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Pushes the player out of moving platform entities.
struct ComponentPlatformCollider {
    static constexpr std::string_view kName = "Platform Collision Handler";
};

/// Any value marks the entity as a platform.
inline void from_json(const nlohmann::json&, ComponentPlatformCollider&) {}

class SystemPlatformCollision : public System<ComponentPlatformCollider, SystemPlatformCollision> {
public:
    bool HandleMessage(const Message& message) override;
};
