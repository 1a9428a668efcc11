#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// States to load in the background when a trigger fires or when the entity is born.
struct ComponentPreload {
    static constexpr std::string_view kName = "Preload";

    std::vector<std::string> states;
    std::string trigger;
    bool onCreate = false;
};

/// Reads "States", "Trigger" and "On Create".
void from_json(const nlohmann::json& j, ComponentPreload& preload);

/// Sends MessageCreateState for the states of every preload whose trigger fires, and of a
/// newly born entity whose preload has "On Create" set.
class SystemPreload : public System<ComponentPreload, SystemPreload> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Preload(const ComponentPreload& preload);
};
