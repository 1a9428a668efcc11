#pragma once

#include "engine/KeyCodes.h"
#include "engine/MessageKey.h"

namespace debug_switch {

/// Q toggles debug drawing while the window service is in debug mode; grave accent turns it
/// off once debug mode has been left. Every debug-drawing system follows the same keys, so one
/// press switches all of them together.
inline constexpr int kToggleKey = keycode::Q;
inline constexpr int kOffKey = keycode::Grave;

inline void Apply(const MessageKey& key, bool& flag) {
    if (key.action != MessageKey::kPressed) return;
    if (key.debug && key.key == kToggleKey) {
        flag = !flag;
    } else if (!key.debug && key.key == kOffKey) {
        flag = false;
    }
}

}  // namespace debug_switch
