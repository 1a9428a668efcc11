#include "services/graphics/GamepadMapping.h"

#include <cmath>

#include "engine/MessageKey.h"

namespace graphics {

namespace {

/// On past `on`; once on, stays on until `value` falls to `off` or below.
bool Latch(bool was, float value, float on, float off) {
    return was ? value > off : value >= on;
}

}  // namespace

GamepadFrame GamepadMapping::Update(const GamepadState* pad, const glm::vec2& mouse, float aspect) {
    GamepadFrame frame;
    if (mouseKnown && mouse != lastMouse) padCursor = false;
    lastMouse = mouse;
    mouseKnown = true;

    std::array<bool, kOutputCount> want{};
    if (pad) {
        using S = GamepadState;
        const auto& b = pad->buttons;
        const auto& a = pad->axes;
        stick[Left] = Latch(stick[Left], -a[S::LeftX], kStickOn, kStickOff);
        stick[Right] = Latch(stick[Right], a[S::LeftX], kStickOn, kStickOff);
        stick[Up] = Latch(stick[Up], -a[S::LeftY], kStickVerticalOn, kStickVerticalOff);
        stick[Down] = Latch(stick[Down], a[S::LeftY], kStickVerticalOn, kStickVerticalOff);
        trigger = Latch(trigger, (a[S::RightTrigger] + 1.0f) * 0.5f, kTriggerOn, kTriggerOff);
        want[Left] = stick[Left] || b[S::DpadLeft];
        want[Right] = stick[Right] || b[S::DpadRight];
        want[Up] = stick[Up] || b[S::DpadUp];
        want[Down] = stick[Down] || b[S::DpadDown];
        want[Jump] = b[S::A];
        want[Shoot] = trigger;
        // B is the way back in menus; in play it pauses, as Escape does.
        want[Pause] = b[S::Start] || b[S::B];

        const glm::vec2 direction(a[S::RightX], -a[S::RightY]);
        const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y);
        aiming = Latch(aiming, length, kStickOn, kStickOff);
        if (aiming) {
            aim = direction / length;
            padCursor = true;
        }
    } else {
        // Gone: nothing it held may stay down, and the mouse has the cursor again.
        stick = {};
        trigger = false;
        aiming = false;
        padCursor = false;
    }

    static constexpr std::array<int, kOutputCount> kKeys = {
        kKeyA, kKeyD, kKeyUp, kKeyDown, kKeySpace, kMouseLeft, kKeyEscape};
    // Releases first, so a direction reversed within one frame reads as let go, then pressed.
    for (int i = 0; i < kOutputCount; ++i) {
        if (held[i] && !want[i]) {
            frame.keys.push_back({InputEvent::Kind::Key, kKeys[i], MessageKey::kReleased, 0, {}});
        }
    }
    for (int i = 0; i < kOutputCount; ++i) {
        if (!held[i] && want[i]) {
            frame.keys.push_back({InputEvent::Kind::Key, kKeys[i], MessageKey::kPressed, 0, {}});
        }
    }
    held = want;

    const float width = aspect > 0.0f ? aspect : 1.0f;
    frame.cursor = padCursor ? glm::vec2(aim.x / width, aim.y) * kAimReach : mouse;
    return frame;
}

}  // namespace graphics
