#pragma once

#include <vector>

#include <glm/vec2.hpp>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// An axis-aligned rectangle of the world plane z = 0.
struct WorldRect {
    glm::vec2 min{0.0f};
    glm::vec2 max{0.0f};

    bool Overlaps(const glm::vec2& lo, const glm::vec2& hi) const {
        return lo.x <= max.x && hi.x >= min.x && lo.y <= max.y && hi.y >= min.y;
    }
};

/// Asks what the cameras of the current state see right now, so that drawing systems send
/// only what can reach the screen. Every camera system adds its cameras' rectangles and lets
/// the message go on. Nobody answering means no camera is known: draw everything.
class MessageQueryViews final : public Message {
public:
    int TypeId() const override { return MessageId::QueryViews; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Query views"; }

    /// Whether a rectangle from lo to hi may be seen.
    bool Sees(const glm::vec2& lo, const glm::vec2& hi) const {
        if (!answered || unbounded) return true;
        for (const WorldRect& view : views) {
            if (view.Overlaps(lo, hi)) return true;
        }
        return false;
    }

    mutable std::vector<WorldRect> views;
    mutable bool answered = false;
    /// A camera whose picture has no bounded footprint on the plane (a perspective one).
    mutable bool unbounded = false;
};
