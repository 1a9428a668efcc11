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
    /// Seconds the icons of newly gained lives (a checkpoint's restored life) blink large after
    /// the player's lives grow; 0: no cue.
    float GainBlinkTime = 0.0f;
    /// Size of a blinking icon, relative to the others.
    float GainBlinkScale = 1.6f;

    // Run-time state.
    /// The lives drawn at the last update; -1 before the first.
    int LivesSeen = -1;
    /// Seconds of blinking left, and the icons [GainFrom, GainTo) that blink.
    float GainTimeLeft = 0.0f;
    int GainFrom = 0;
    int GainTo = 0;
};

void from_json(const nlohmann::json& j, ComponentLivesHUD& hud);

/// Draws the lives row of the lowest-numbered "Lives HUD" every update, from the player health
/// with the lowest entity id. When those lives grow, the gained icons blink large for a while.
class SystemLivesHUD : public System<ComponentLivesHUD, SystemLivesHUD> {
public:
    bool HandleMessage(const Message& message) override;

    /// Half of a blink: the gained icons are large for this long, then normal for as long.
    static constexpr float kBlinkHalfPeriod = 0.125f;

private:
    void Update(float dt);
};
