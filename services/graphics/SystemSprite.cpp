#include "services/graphics/SystemSprite.h"

#include <algorithm>
#include <functional>

#include "engine/MessageComponent.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"

bool SystemSprite::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Render) return System::HandleMessage(message);

    // The table is unordered; a fixed order keeps equal depths from flickering.
    drawOrder.clear();
    for (const auto& [id, sprite] : components) drawOrder.push_back(id);
    std::sort(drawOrder.begin(), drawOrder.end());
    for (EntityId id : drawOrder) {
        auto it = components.find(id);
        if (it == components.end()) continue;
        const ComponentSprite& sprite = it->second;
        const std::function<void(ComponentTransform&)> draw = [&](ComponentTransform& transform) {
            SendMessage(MessageSpriteRender(sprite, transform));
        };
        SendMessage(MessageQuery<ComponentTransform>(id, draw));
    }
    return false;
}
