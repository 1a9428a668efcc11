#pragma once

#include <string_view>

#include <glm/vec2.hpp>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// The cursor, sent by the window service every frame after the input: relative to the centre
/// of the picture, in world units of the main camera, x to the right and y up (outside the
/// picture it goes on past the edges). Add the offset of a MessageCursorWorldPosition to get
/// the cursor in that camera's world coordinates.
class MessageCursorPosition final : public Message {
public:
    explicit MessageCursorPosition(const glm::vec2& position) : position(position) {}
    int TypeId() const override { return MessageId::CursorPosition; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Cursor position " << position.x << " " << position.y;
    }

    const glm::vec2& position;
};

/// Mouse-wheel steps (horizontal, vertical).
class MessageScroll final : public Message {
public:
    explicit MessageScroll(const glm::vec2& offset) : offset(offset) {}
    int TypeId() const override { return MessageId::Scroll; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Scroll " << offset.x << " " << offset.y;
    }

    const glm::vec2& offset;
};

/// The offset that turns a `MessageCursorPosition` into world coordinates for the named camera:
/// cursor world position = cursor position + `position`. Sent every frame right after the
/// cursor position: first with the empty name for the main camera (the offset is the main
/// camera's centre when it is not rotated), then once for every other named camera of the
/// current state. For a perspective camera the world point lies on the plane z = 0.
class MessageCursorWorldPosition final : public Message {
public:
    MessageCursorWorldPosition(std::string_view camera, const glm::vec2& position)
        : camera(camera), position(position) {}
    int TypeId() const override { return MessageId::CursorWorldPosition; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Cursor world position " << position.x << " " << position.y;
    }

    std::string_view camera;
    const glm::vec2& position;
};
