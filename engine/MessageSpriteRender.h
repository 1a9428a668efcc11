#pragma once

#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include "engine/ComponentSprite.h"
#include "engine/Message.h"
#include "engine/MessageId.h"
#include "engine/SystemTransform.h"

/// Draws one sprite this frame: translation is the quad's centre, scale its size, rotation z
/// its angle in radians; translation z orders drawing (larger is drawn later, in front; equal
/// depths keep the order of sending). Sprites of a camera with a higher "Order" are drawn
/// after all sprites of cameras with a lower one. May be sent during update or render.
class MessageSpriteRender final : public Message {
public:
    MessageSpriteRender(const ComponentSprite& sprite, const ComponentTransform& transform)
        : sprite(sprite), transform(transform) {}
    int TypeId() const override { return MessageId::SpriteRender; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Sprite render"; }

    const ComponentSprite& sprite;
    const ComponentTransform& transform;
};

/// Draws many sprites of one sprite description this frame, element i with colour i and
/// frame i (frame = (column, row) of the sheet). Missing colours or frames fall back to the
/// sprite's own.
class MessageSpriteRenderBatch final : public Message {
public:
    MessageSpriteRenderBatch(const ComponentSprite& sprite,
                             const std::vector<ComponentTransform>& transforms,
                             const std::vector<glm::vec4>& colors,
                             const std::vector<glm::ivec2>& frames)
        : sprite(sprite), transforms(transforms), colors(colors), frames(frames) {}
    int TypeId() const override { return MessageId::SpriteRenderBatch; }
    std::ostream& Trace(std::ostream& out) const override { return out << "Sprite batch render"; }

    const ComponentSprite& sprite;
    const std::vector<ComponentTransform>& transforms;
    const std::vector<glm::vec4>& colors;
    const std::vector<glm::ivec2>& frames;
};
