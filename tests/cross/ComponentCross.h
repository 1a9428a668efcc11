#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/JsonRead.h"
#include "engine/Manager.h"

/// A component whose system lives in one shared library and whose queries are built in another.
struct ComponentCross {
    static constexpr std::string_view kName = "Cross";
    int value = 0;
};

inline void from_json(const nlohmann::json& j, ComponentCross& cross) {
    json_read::Key(j, "Value", cross.value);
}
