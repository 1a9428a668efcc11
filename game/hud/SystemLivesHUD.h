#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A row of life icons starting at the entity's position: full icons for the player's lives
/// left, empty ones for the lives lost. The icons copy the entity's sprite (camera, colour,
/// cell, ...) with only the texture replaced, so the entity's own texture should be blank.
struct ComponentLivesHUD {
    static constexpr std::string_view kName = "Lives HUD";

    /// World units between neighbouring icons along x.
    float IconSeparation = 1.0f;
    std::string LifeIcon;
    std::string EmptyLifeIcon;
};

void from_json(const nlohmann::json& j, ComponentLivesHUD& hud);

/// Draws the lives row of the lowest-numbered "Lives HUD" every update, from the player health
/// with the lowest entity id.
class SystemLivesHUD : public System<ComponentLivesHUD, SystemLivesHUD> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Update();
};
