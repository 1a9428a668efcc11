#include "game/player/PlayerInput.h"

namespace {

constexpr int kSpace = 32;
constexpr int kW = 87;
constexpr int kA = 65;
constexpr int kS = 83;
constexpr int kD = 68;
constexpr int kO = 79;
constexpr int kGrave = 96;
constexpr int kRight = 262;
constexpr int kLeft = 263;
constexpr int kDown = 264;
constexpr int kUp = 265;

}  // namespace

PlayerKey MapPlayerKey(int key) {
    switch (key) {
        case kSpace:
        case kW:
        case kUp:
            return PlayerKey::Up;
        case kA:
        case kLeft:
            return PlayerKey::Left;
        case kD:
        case kRight:
            return PlayerKey::Right;
        case kS:
        case kDown:
            return PlayerKey::Down;
        case kO:
            return PlayerKey::ToggleFly;
        case kGrave:
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
