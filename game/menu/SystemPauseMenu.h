#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// The pause menu of a scene: the UI element Escape shows and hides, and the menus opened
/// from it, which resuming closes. The names are those of the scene's UI elements.
struct ComponentPauseMenu {
    static constexpr std::string_view kName = "Pause Menu";

    /// The UI element shown while paused.
    std::string Menu;
    /// UI elements that resuming closes, in this order.
    std::vector<std::string> SubMenus;

    /// Follows the "Pause" trigger, whoever sends it.
    bool paused = false;
};

/// Reads "Menu" and "Sub Menus".
void from_json(const nlohmann::json& j, ComponentPauseMenu& menu);

/// Escape pauses the game and opens the pause menu, or resumes it and closes the pause menu
/// with every menu opened from it.
class SystemPauseMenu : public System<ComponentPauseMenu, SystemPauseMenu> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Toggle();
};
