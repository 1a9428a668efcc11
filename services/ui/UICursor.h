#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <glm/vec2.hpp>

#include "engine/Message.h"

/// The cursor as each camera sees it, kept from the window service's cursor messages: the
/// position relative to the picture's centre, plus each camera's offset of this frame.
class UICursor {
public:
    /// Takes MessageCursorPosition and MessageCursorWorldPosition; true if it was one of them.
    bool Handle(const Message& message);
    /// The cursor in the world of `camera`; a camera that reported no offset this frame (the
    /// state has no such camera, so its sprites go through the main one) uses the main camera's.
    glm::vec2 In(std::string_view camera) const;
    bool Known() const { return known; }
    /// The position relative to the picture's centre; changes only when the mouse moves.
    const glm::vec2& Position() const { return position; }

private:
    glm::vec2 position{0.0f};
    /// A handful of cameras at most, so a list.
    std::vector<std::pair<std::string, glm::vec2>> offsets;
    bool known = false;
};

/// Whether `point` lies in the rectangle of centre `centre` and size `size` (either sign).
bool InsideRect(const glm::vec2& point, const glm::vec2& centre, const glm::vec2& size);
