#pragma once

#include "game/player/ComponentPlayerControl.h"

/// What a key means to the player character.
enum class PlayerKey {
    None,
    Up,
    Left,
    Right,
    Down,
    /// Debug fly mode on or off (only with the debug flag).
    ToggleFly,
    /// Leaving debug mode, which also ends fly mode (only without the debug flag).
    LeaveDebug,
};

/// WASD, the arrows and Space move; O toggles fly mode; the grave accent leaves debug mode.
PlayerKey MapPlayerKey(int key);

/// Applies a press or release of a movement key to the held keys. Presses are ignored while
/// paused; releases always count, so that a key let go during the pause does not stick.
void ApplyMovementKey(PlayerIntents& held, PlayerKey key, bool pressed, bool paused);
