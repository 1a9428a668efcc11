#pragma once

#include <string>
#include <vector>

#include <glm/vec2.hpp>

#include "engine/KeyCodes.h"
#include "engine/Manager.h"
#include "services/graphics/CameraMath.h"

namespace graphics {

/// A window event as the window service queues it during polling.
struct InputEvent {
    enum class Kind { Key, MouseButton, Scroll, Focus };
    Kind kind = Kind::Key;
    /// Key: GLFW key code; MouseButton: GLFW button number; Focus: 1 gained, 0 lost.
    int code = 0;
    int action = 0;
    int mods = 0;
    glm::vec2 offset{0.0f};
};

/// The grave-accent key switches debug mode. While it is on every key message carries the
/// debug flag; the grave key's own messages carry it clear, so leaving debug mode is seen by
/// the game as a key without the flag and resets its debug switches.
class DebugMode {
public:
    static constexpr int kToggleKey = keycode::Grave;
    /// The debug flag for a key message with this code and action.
    bool OnKey(int key, int action);
    bool IsOn() const { return on; }

private:
    bool on = false;
};

/// The key code a mouse button travels under: 348 + button for buttons 0 to 7, else -1.
int KeyCodeFromMouseButton(int button);

/// Turns one queued event into its bus message(s).
void DispatchInput(const InputEvent& event, DebugMode& debug, const SendCallback& send);

/// The part of a surface the picture fills at a fixed aspect ratio, centred, with bars on the
/// two sides that are too long.
struct Letterbox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
Letterbox FitAspect(int surfaceWidth, int surfaceHeight, float aspect);

/// A point of the window (pixels from the top-left) in the picture's normalised device
/// coordinates (-1..1, y up); outside the picture the values pass beyond that range.
glm::vec2 WindowToNdc(const glm::vec2& pixel, const Letterbox& picture);

/// The cursor messages of one frame: the cursor relative to the picture's centre in the main
/// camera's world units, and per camera the offset that takes it to that camera's world.
struct CursorReport {
    glm::vec2 position{0.0f};
    struct Offset {
        std::string camera;
        glm::vec2 offset;
    };
    std::vector<Offset> offsets;
};
/// `cameras` as the renderer last drew them; exactly one has `main` set. The main camera is
/// reported under the empty name, every other named camera under its own.
CursorReport ComputeCursor(const std::vector<CameraView>& cameras, float aspect,
                           const glm::vec2& ndc);

/// Sends MessageCursorPosition and then one MessageCursorWorldPosition per offset.
void SendCursor(const CursorReport& report, const SendCallback& send);

}  // namespace graphics
