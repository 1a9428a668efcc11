#include "services/ui/UICursor.h"

#include <cmath>

#include "engine/MessageCursor.h"
#include "engine/MessageId.h"

bool UICursor::Handle(const Message& message) {
    if (message.TypeId() == MessageId::CursorPosition) {
        position = static_cast<const MessageCursorPosition&>(message).position;
        // The offsets of this frame follow the position; older ones may name gone cameras.
        offsets.clear();
        known = true;
        return true;
    }
    if (message.TypeId() == MessageId::CursorWorldPosition) {
        auto& world = static_cast<const MessageCursorWorldPosition&>(message);
        for (auto& [name, offset] : offsets) {
            if (name == world.camera) {
                offset = world.position;
                return true;
            }
        }
        offsets.emplace_back(std::string(world.camera), world.position);
        return true;
    }
    return false;
}

glm::vec2 UICursor::In(std::string_view camera) const {
    for (const auto& [name, offset] : offsets) {
        if (name == camera) return position + offset;
    }
    for (const auto& [name, offset] : offsets) {
        if (name.empty()) return position + offset;
    }
    return position;
}

bool InsideRect(const glm::vec2& point, const glm::vec2& centre, const glm::vec2& size) {
    const glm::vec2 half = glm::vec2(std::abs(size.x), std::abs(size.y)) * 0.5f;
    return std::abs(point.x - centre.x) <= half.x && std::abs(point.y - centre.y) <= half.y;
}
