#pragma once

#include <string_view>

#include <glm/vec2.hpp>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// The cursor in window coordinates.
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

/// The offset that turns a `MessageCursorPosition` into world coordinates for the named camera
/// (empty: the main camera): cursor world position = cursor position + `position`.
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
