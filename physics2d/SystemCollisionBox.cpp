#include "physics2d/SystemCollisionBox.h"

#include <cstdint>
#include <functional>

#include "engine/DebugSwitch.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "physics2d/ColliderView.h"
#include "physics2d/MessageCollision.h"
#include "physics2d/Overlap.h"

SystemCollisionBox::SystemCollisionBox() = default;

bool SystemCollisionBox::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            BoxPass();
            return false;
        case MessageId::Render:
            if (debugDraw) DrawOutlines();
            return false;
        case MessageId::Key:
            debug_switch::Apply(static_cast<const MessageKey&>(message), debugDraw);
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemCollisionBox::BoxPass() {
    // One container query reads every translation live for the whole pass; a query per pair
    // would see the same data at many times the cost.
    SendMessage(MessageQueryContainer<ComponentTransform>(
        [this](std::unordered_map<EntityId, ComponentTransform>& transforms) {
            std::uint64_t generation = 0;
            ColliderView<ComponentCollisionBox> view(components, transforms, generation);
            ForEachContact(
                view, view, true, generation,
                [&](std::size_t i, std::size_t j) {
                    ComponentCollisionBox& a = view.Component(i);
                    ComponentCollisionBox& b = view.Component(j);
                    return overlap::Boxes(view.Position(i), a.Size, view.Position(j), b.Size,
                                          a.Penetration, b.Penetration);
                },
                [this](EntityId first, EntityId second) {
                    SendMessage(MessageCollision(first, second));
                    SendMessage(MessageCollision(second, first));
                });
        }));
}

void SystemCollisionBox::DrawOutlines() {
    ComponentSprite sprite;
    sprite.texture = "ProgrammerArt/colliderBoxDebugOutline";
    ComponentTransform record;
    const ComponentCollisionBox* box = nullptr;
    const std::function<void(ComponentTransform&)> draw = [&](ComponentTransform& transform) {
        record.translation = transform.translation;
        record.translation.z += 0.1f;
        // Size holds half-extents; the renderer's scale is the full size.
        record.scale = {2.0f * box->Size.x, 2.0f * box->Size.y, 1.0f};
        SendMessage(MessageSpriteRender(sprite, record));
    };
    for (const auto& [entity, component] : components) {
        box = &component;
        SendMessage(MessageQuery<ComponentTransform>(entity, draw));
    }
}
