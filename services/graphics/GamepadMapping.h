#pragma once

#include <array>
#include <vector>

#include <glm/vec2.hpp>

#include "engine/KeyCodes.h"
#include "engine/MessageKey.h"
#include "services/graphics/Input.h"

namespace graphics {

/// One reading of a gamepad in the standard layout: buttons and axes numbered as GLFW's
/// gamepad state numbers them, so a reading is copied over as it is.
struct GamepadState {
    enum Button {
        A,
        B,
        X,
        Y,
        LeftBumper,
        RightBumper,
        Back,
        Start,
        Guide,
        LeftThumb,
        RightThumb,
        DpadUp,
        DpadRight,
        DpadDown,
        DpadLeft,
        kButtonCount
    };
    enum Axis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger, kAxisCount };

    std::array<bool, kButtonCount> buttons{};
    /// Sticks -1..1 with y down; triggers -1 at rest to 1 fully pulled.
    std::array<float, kAxisCount> axes{0.0f, 0.0f, 0.0f, 0.0f, -1.0f, -1.0f};
};

/// What a pad did in one frame: key events as the keyboard and mouse would send them, and the
/// cursor to report, in the picture's normalised device coordinates.
struct GamepadFrame {
    std::vector<InputEvent> keys;
    glm::vec2 cursor{0.0f};
};

/// Turns pad readings into the keyboard and mouse input the game already understands, so
/// that menus, play and recordings need nothing of their own for a pad:
///
///   left stick / d-pad left, right   A, D (walk; sliders in menus)
///   left stick / d-pad up, down      Up, Down arrows (menu focus; up also jumps, as on keys)
///   A button                         Space (jump; presses the focused menu button)
///   right trigger                    left mouse button (shoot)
///   Start, B                         Escape (pause; back one step in menus)
///   right stick                      the aim cursor
///
/// Only edges become events. Sticks and triggers switch on past one threshold and off below a
/// lower one, so a stick resting near the edge of its dead zone does not chatter. A stick and
/// the d-pad driving the same key are one key: it is pressed when the first goes down and
/// released when the last lets go.
///
/// The right stick points the cursor far off the picture in the stick's direction. The arm aims
/// at the cursor, so from anywhere on screen the shot then leaves in (very nearly) the stick's
/// direction, which is what a player expects; a cursor on a small circle round the centre
/// would aim wrongly whenever the camera is held off the player at a level's edge. Letting go
/// of the stick keeps the aim; moving the mouse hands the cursor back to the mouse.
class GamepadMapping {
public:
    /// Key codes of the events, as MessageKey carries them.
    static constexpr int kKeySpace = keycode::Space;
    static constexpr int kKeyA = keycode::A;
    static constexpr int kKeyD = keycode::D;
    static constexpr int kKeyEscape = keycode::Escape;
    static constexpr int kKeyDown = keycode::Down;
    static constexpr int kKeyUp = keycode::Up;
    static constexpr int kMouseLeft = MessageKey::kMouseFirst;

    /// Stick deflection that presses a direction, and the one below which it is let go.
    static constexpr float kStickOn = 0.5f;
    static constexpr float kStickOff = 0.3f;
    /// Stricter for the left stick's up and down, so walking with the stick a little off the
    /// horizontal does not jump.
    static constexpr float kStickVerticalOn = 0.8f;
    static constexpr float kStickVerticalOff = 0.6f;
    /// Trigger travel (0 at rest, 1 fully pulled) that fires, and the one that lets go.
    static constexpr float kTriggerOn = 0.5f;
    static constexpr float kTriggerOff = 0.3f;
    /// How far from the picture's centre the aim cursor is put, in half picture heights.
    static constexpr float kAimReach = 20.0f;

    /// One frame. `pad` is null when no pad is connected: whatever the pad held is released
    /// and the cursor is the mouse's. `mouse` is the mouse cursor, `aspect` the picture's
    /// width over its height.
    GamepadFrame Update(const GamepadState* pad, const glm::vec2& mouse, float aspect);

private:
    enum Output { Left, Right, Up, Down, Jump, Shoot, Pause, kOutputCount };

    std::array<bool, kOutputCount> held{};
    /// The sticks' and the trigger's own switches, apart from the d-pad's buttons, so that a
    /// stick resting between its thresholds cannot keep a d-pad key down.
    std::array<bool, kOutputCount> stick{};
    bool trigger = false;
    bool aiming = false;
    /// The pad, not the mouse, places the cursor.
    bool padCursor = false;
    glm::vec2 aim{0.0f};
    glm::vec2 lastMouse{0.0f};
    bool mouseKnown = false;
};

}  // namespace graphics
