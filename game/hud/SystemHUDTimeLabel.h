#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Shows the seconds left on the level's clock as the text of the entity's "UI Element", so the
/// time can be read exactly and not only as a sixth of the pie.
struct ComponentHUDTimeLabel {
    static constexpr std::string_view kName = "HUD Time Label";

    std::string Prefix;
    std::string Suffix;
};

void from_json(const nlohmann::json& j, ComponentHUDTimeLabel& label);

/// Writes the whole seconds left (rounded up, so "1" shows until the time is really up) of the
/// "HUD Timer" with the lowest entity id into every "HUD Time Label" entity's text on each
/// update. Without a timer the text is left alone.
class SystemHUDTimeLabel : public System<ComponentHUDTimeLabel, SystemHUDTimeLabel> {
public:
    bool HandleMessage(const Message& message) override;

    /// "Prefix" + the whole seconds of `remaining`, rounded up and never below 0 + "Suffix".
    static std::string Text(const ComponentHUDTimeLabel& label, float remaining);
};
