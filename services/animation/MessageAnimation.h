#pragma once

#include <functional>
#include <string_view>

#include <glm/vec2.hpp>

#include "engine/Message.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"

/// Selects an entity's animation clip. `loop`: repeat or hold the last cell. `queued`: start
/// after the current clip, `delay` seconds later. `speed`: playback rate, 0 holds the start.
class MessageSetAnimation final : public Message {
public:
    MessageSetAnimation(EntityId entity, std::string_view name, bool loop, bool queued = false,
                        float delay = 0.0f, float speed = 1.0f)
        : entity(entity), name(name), loop(loop), queued(queued), delay(delay), speed(speed) {}
    int TypeId() const override { return MessageId::SetAnimation; }
    std::ostream& Trace(std::ostream& out) const override { return out; }

    EntityId entity;
    std::string_view name;
    bool loop;
    bool queued;
    float delay;
    float speed;
};

/// Hands an entity's named bone (a 2D point) to `callback` by reference, so the caller may
/// read and write it. An unknown bone gets no call.
class MessageQueryBone final : public Message {
public:
    MessageQueryBone(EntityId entity, std::string_view bone,
                     const std::function<void(glm::vec2&)>& callback)
        : entity(entity), bone(bone), callback(callback) {}
    int TypeId() const override { return MessageId::QueryBone; }
    std::ostream& Trace(std::ostream& out) const override { return out; }

    EntityId entity;
    std::string_view bone;
    const std::function<void(glm::vec2&)>& callback;
};
