#include "game/player/PlayerInput.h"

#include "engine/KeyCodes.h"

PlayerKey MapPlayerKey(int key) {
    switch (key) {
        case keycode::Space:
        case keycode::W:
        case keycode::Up:
            return PlayerKey::Up;
        case keycode::A:
        case keycode::Left:
            return PlayerKey::Left;
        case keycode::D:
        case keycode::Right:
            return PlayerKey::Right;
        case keycode::S:
        case keycode::Down:
            return PlayerKey::Down;
        case keycode::O:
            return PlayerKey::ToggleFly;
        case keycode::Grave:
            return PlayerKey::LeaveDebug;
        default:
            return PlayerKey::None;
    }
}

void ApplyMovementKey(PlayerIntents& held, PlayerKey key, bool pressed, bool paused) {
    if (pressed && paused) return;
    switch (key) {
        case PlayerKey::Up:
            if (pressed && !held.upHeld) ++held.upPresses;
            held.upHeld = pressed;
            break;
        case PlayerKey::Left:
            held.leftHeld = pressed;
            break;
        case PlayerKey::Right:
            held.rightHeld = pressed;
            break;
        case PlayerKey::Down:
            held.downHeld = pressed;
            break;
        default:
            break;
    }
}
