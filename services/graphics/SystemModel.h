#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A 3D model description. Models are not drawn yet: the component keeps its description so
/// that entity files that carry a "Model" load without error and keep it through checkpoints.
struct ComponentModel {
    static constexpr std::string_view kName = "Model";

    nlohmann::json description = nlohmann::json::object();
};

/// Merges the given keys into the description (a null value removes a key).
void from_json(const nlohmann::json& j, ComponentModel& model);

class SystemModel : public System<ComponentModel, SystemModel> {};
