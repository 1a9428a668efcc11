#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/JsonRead.h"
#include "engine/System.h"
#include "engine/SystemTransform.h"
#include "tests/support/TestEngine.h"

// Small components and systems the engine suites use to watch the generic handling.

struct ComponentHealth {
    static constexpr std::string_view kName = "Health";
    int points = 10;
    float regen = 0.5f;
    bool alive = true;
};

inline void from_json(const nlohmann::json& j, ComponentHealth& health) {
    json_read::Key(j, "Points", health.points);
    json_read::Key(j, "Regen", health.regen);
    json_read::Key(j, "Alive", health.alive);
}

class SystemHealth : public System<ComponentHealth, SystemHealth> {};

struct ComponentTag {
    static constexpr std::string_view kName = "Tag";
    std::string text;
};

inline void from_json(const nlohmann::json& j, ComponentTag& tag) {
    json_read::Key(j, "Text", tag.text);
}

class SystemTag : public System<ComponentTag, SystemTag> {};

/// The rosters the engine suites build their engines from: the health store behind the
/// transforms, with the tag store between them where a suite names entities.
inline std::vector<std::unique_ptr<SystemBase>> HealthRoster() {
    return MakeRoster<SystemHealth, SystemTransform>();
}
inline std::vector<std::unique_ptr<SystemBase>> TaggedRoster() {
    return MakeRoster<SystemHealth, SystemTag, SystemTransform>();
}
