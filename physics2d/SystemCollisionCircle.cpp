#include "physics2d/SystemCollisionCircle.h"

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
#include "physics2d/SystemCollisionBox.h"

SystemCollisionCircle::SystemCollisionCircle() = default;

bool SystemCollisionCircle::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            CirclePass();
            CircleBoxPass();
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

void SystemCollisionCircle::CirclePass() {
    SendMessage(MessageQueryContainer<ComponentTransform>(
        [this](std::unordered_map<EntityId, ComponentTransform>& transforms) {
            std::uint64_t generation = 0;
            ColliderView<ComponentCollisionCircle> view(components, transforms, generation);
            ForEachContact(
                view, view, true, generation,
                [&](std::size_t i, std::size_t j) {
                    return overlap::Circles(view.Position(i), view.Component(i).Radius,
                                            view.Position(j), view.Component(j).Radius);
                },
                [this](EntityId first, EntityId second) { SendContact(first, second); });
        }));
}

void SystemCollisionCircle::CircleBoxPass() {
    SendMessage(MessageQueryContainer<ComponentTransform>(
        [this](std::unordered_map<EntityId, ComponentTransform>& transforms) {
            SendMessage(MessageQueryContainer<ComponentCollisionBox>(
                [&](std::unordered_map<EntityId, ComponentCollisionBox>& boxTable) {
                    std::uint64_t generation = 0;
                    ColliderView<ComponentCollisionCircle> circles(components, transforms,
                                                                   generation);
                    ColliderView<ComponentCollisionBox> boxes(boxTable, transforms, generation);
                    ForEachContact(
                        circles, boxes, false, generation,
                        [&](std::size_t i, std::size_t j) {
                            return overlap::CircleBox(circles.Position(i),
                                                      circles.Component(i).Radius,
                                                      boxes.Position(j), boxes.Component(j).Size);
                        },
                        [this](EntityId circle, EntityId box) { SendContact(circle, box); });
                }));
        }));
}

void SystemCollisionCircle::SendContact(EntityId first, EntityId second) {
    SendMessage(MessageCollision(first, second));
    SendMessage(MessageCollision(second, first));
}

void SystemCollisionCircle::DrawOutlines() {
    ComponentSprite sprite;
    sprite.texture = "ProgrammerArt/colliderCircleDebugOutline";
    ComponentTransform record;
    float radius = 0.0f;
    const std::function<void(ComponentTransform&)> draw = [&](ComponentTransform& transform) {
        record.translation = transform.translation;
        record.translation.z += 0.1f;
        // The renderer's scale is the full size: the outline spans the diameter.
        record.scale = {2.0f * radius, 2.0f * radius, 1.0f};
        SendMessage(MessageSpriteRender(sprite, record));
    };
    for (const auto& [entity, component] : components) {
        radius = component.Radius;
        SendMessage(MessageQuery<ComponentTransform>(entity, draw));
    }
}
