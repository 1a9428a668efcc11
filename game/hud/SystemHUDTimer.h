#pragma once

#include <string>
#include <string_view>

#include <glm/vec2.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

/// The level's countdown, shown as one cell of a clock sprite sheet of 3 columns. Rows 0 and 1
/// hold the six faces from nearly empty (0, 0) to full (2, 1); rows 2 and 3 the same faces in
/// the warning look, used once the time left is at or below "Time Warning".
struct ComponentHUDTimer {
    static constexpr std::string_view kName = "HUD Timer";

    float TimeLimit = 0.0f;
    float TimeRemaining = 0.0f;
    /// Zero: the clock never shows its warning look.
    float TimeWarning = 0.0f;
    /// Counting; set by the first key press of the state.
    bool Started = false;
    /// The sprite follows the count; set and cleared with `Started`.
    bool Shown = false;
    /// Debug: the count is held at the limit.
    bool Frozen = false;
    /// The player has left through a door: the count holds where it is and cannot run out
    /// during the exit's transition.
    bool Stopped = false;
    /// Empty: no trigger. Otherwise sent false at the first update of the state and true when
    /// the time runs out, so that a later screen (a "Trigger Label" on the lose screen) can
    /// tell a loss on time from a loss of lives.
    std::string TimeOutTrigger;
    /// The state's first update has sent `TimeOutTrigger` false.
    bool Announced = false;
};

void from_json(const nlohmann::json& j, ComponentHUDTimer& timer);

/// Counts every "HUD Timer" down from its first key press, draws the time left into its
/// sprite's cell, costs time on the player's first enemy contact and sends the game to the
/// lose screen when the time is up.
class SystemHUDTimer : public System<ComponentHUDTimer, SystemHUDTimer> {
public:
    bool HandleMessage(const Message& message) override;

    /// The clock face for `remaining` of `limit` seconds: (column, row) in rows 0 and 1.
    static glm::ivec2 ClockCell(float limit, float remaining);
    /// The cell a shown timer draws, with the warning rows when due.
    static glm::ivec2 Cell(const ComponentHUDTimer& timer);

    static constexpr int kWarningRowOffset = 2;
    static constexpr float kPenaltyShare = 1.0f / 6.0f;
    static constexpr std::string_view kLoseState = "LoseScreen";

private:
    void Update(float dt);
    void OnKey(const Message& message);
    void OnCollision(EntityId entity, EntityId other);
    void SetCell(EntityId entity, glm::ivec2 cell);
};
