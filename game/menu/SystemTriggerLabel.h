#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Shows the state of a named trigger as the text of the entity's "UI Element": "On Text" after
/// the trigger's last value was true, "Off Text" otherwise (also before it was ever sent).
struct ComponentTriggerLabel {
    static constexpr std::string_view kName = "Trigger Label";

    std::string Trigger;
    std::string OnText;
    std::string OffText;
};

void from_json(const nlohmann::json& j, ComponentTriggerLabel& label);

/// The last value of every trigger sent while some state was current, shared by all clones so
/// that a menu built later still knows it.
using TriggerValues = std::unordered_map<std::string, bool>;

/// Remembers every trigger's last value and writes each "Trigger Label" entity's text from it
/// on every update; for example the Options menu's display button shows whether the game is
/// in full screen, however it got there (the button, F11 or the saved settings).
class SystemTriggerLabel : public System<ComponentTriggerLabel, SystemTriggerLabel> {
public:
    explicit SystemTriggerLabel(std::shared_ptr<TriggerValues> values)
        : values(std::move(values)) {}

    bool HandleMessage(const Message& message) override;

private:
    std::shared_ptr<TriggerValues> values;
};
