#pragma once

#include "engine/KeyCodes.h"
#include "engine/Message.h"
#include "engine/MessageId.h"

/// Keyboard and mouse-button input. Key codes follow GLFW's numbering; the first and second
/// mouse buttons are 348 and 349, further buttons 350 to 355.
class MessageKey final : public Message {
public:
    static constexpr int kReleased = 0;
    static constexpr int kPressed = 1;
    static constexpr int kRepeated = 2;
    static constexpr int kModShift = 1;
    static constexpr int kModControl = 2;
    static constexpr int kModAlt = 4;
    static constexpr int kMouseFirst = keycode::MouseFirst;
    static constexpr int kMouseSecond = keycode::MouseSecond;

    MessageKey(int key, int action, int mods, bool debug)
        : key(key), action(action), mods(mods), debug(debug) {}
    int TypeId() const override { return MessageId::Key; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Key " << key << " action " << action << " mods " << mods
                   << (debug ? " debug" : "");
    }

    int key;
    /// 1 pressed, 0 released, any other value a repeat.
    int action;
    int mods;
    /// Set while the window service's debug mode is on (the grave-accent key, 96, switches it).
    /// The grave key's own messages carry it clear, so leaving debug mode reaches the game as
    /// a key without the flag.
    bool debug;
};
