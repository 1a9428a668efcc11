#include "services/graphics/SystemSprite.h"

#include <algorithm>
#include <functional>

#include <glm/geometric.hpp>

#include "engine/MessageComponent.h"
#include "engine/MessageSpriteRender.h"
#include "engine/MessageViews.h"
#include "engine/SystemTransform.h"

bool SystemSprite::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Render) return System::HandleMessage(message);

    const MessageQueryViews views;
    SendMessage(views);
    // The table is unordered; a fixed order keeps equal depths from flickering.
    drawOrder.clear();
    for (const auto& [id, sprite] : components) drawOrder.push_back(id);
    std::sort(drawOrder.begin(), drawOrder.end());
    for (EntityId id : drawOrder) {
        auto it = components.find(id);
        if (it == components.end()) continue;
        const ComponentSprite& sprite = it->second;
        const std::function<void(ComponentTransform&)> draw = [&](ComponentTransform& transform) {
            // The quad's scale is its full size; half its diagonal bounds it at any angle.
            const float reach = 0.5f * glm::length(glm::vec2(transform.scale));
            const glm::vec2 centre(transform.translation);
            if (!views.Sees(centre - reach, centre + reach)) return;
            SendMessage(MessageSpriteRender(sprite, transform));
        };
        SendMessage(MessageQuery<ComponentTransform>(id, draw));
    }
    return false;
}
