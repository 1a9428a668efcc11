#pragma once

#include <map>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Names what has just killed the player, blinking, in the text of the entity's "UI Element":
/// each death sends a trigger naming its cause (game/vocabulary/GameTriggers.h), and "Texts"
/// maps those trigger names to what the player reads. A cause without a text shows nothing.
struct ComponentDeathCauseLabel {
    static constexpr std::string_view kName = "Death Cause Label";

    /// Cause trigger name → text shown.
    std::map<std::string, std::string> Texts;
    /// Seconds the text stays after a death.
    float ShowTime = 2.0f;
    /// Seconds of one blink: shown for the first half, hidden for the second; 0: no blinking.
    float BlinkPeriod = 0.4f;

    // Run-time state.
    std::string shown;
    /// Seconds since the death, and of showing left.
    float shownFor = 0.0f;
    float timeLeft = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentDeathCauseLabel& label);

/// Starts every "Death Cause Label" on a cause trigger and blinks its text while the time
/// lasts; the text is empty otherwise, and an element with a "Name" is hidden.
class SystemDeathCauseLabel : public System<ComponentDeathCauseLabel, SystemDeathCauseLabel> {
public:
    bool HandleMessage(const Message& message) override;

    /// The text a label shows now.
    static const std::string& Visible(const ComponentDeathCauseLabel& label);

private:
    void Update(float dt);
};
