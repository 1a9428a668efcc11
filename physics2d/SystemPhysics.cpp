#include "physics2d/SystemPhysics.h"

#include <cmath>
#include <functional>

#include "engine/DebugSwitch.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"

SystemPhysics::SystemPhysics() = default;

bool SystemPhysics::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Integrate(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Render:
            if (debugDraw) DrawArrows();
            return false;
        case MessageId::Key:
            debug_switch::Apply(static_cast<const MessageKey&>(message), debugDraw);
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemPhysics::Integrate(float dt) {
    ComponentPhysics* physics = nullptr;
    const std::function<void(ComponentTransform&)> step = [&](ComponentTransform& transform) {
        ComponentPhysics& p = *physics;
        p.PreviousTranslation = transform.translation;
        // Product first, then the sum, in single precision: the position uses the velocity of
        // this step (semi-implicit Euler).
        p.RotationalVelocity = p.RotationalAcceleration * dt + p.RotationalVelocity;
        transform.rotation = p.RotationalVelocity * dt + transform.rotation;
        p.Velocity = p.Acceleration * dt + p.Velocity;
        transform.translation = p.Velocity * dt + transform.translation;
    };
    for (auto& [entity, component] : components) {
        physics = &component;
        SendMessage(MessageQuery<ComponentTransform>(entity, step));
    }
}

void SystemPhysics::DrawArrows() {
    ComponentSprite sprite;
    sprite.texture = "ProgrammerArt/velocityDebugArrow";
    ComponentTransform record;
    const ComponentPhysics* physics = nullptr;
    const std::function<void(ComponentTransform&)> draw = [&](ComponentTransform& transform) {
        const glm::vec3& v = physics->Velocity;
        record.translation = transform.translation;
        record.translation.z = transform.translation.z + 0.1f;
        record.scale.x = 0.5f * std::sqrt(v.x * v.x + v.y * v.y);
        record.rotation.z = std::atan(v.y / v.x);
        if (v.x < 0.0f) record.rotation.z += 3.14159f;
        SendMessage(MessageSpriteRender(sprite, record));
    };
    for (const auto& [entity, component] : components) {
        // A NaN compares unequal, so it counts as moving.
        if (component.Velocity.x == 0.0f && component.Velocity.y == 0.0f) continue;
        physics = &component;
        SendMessage(MessageQuery<ComponentTransform>(entity, draw));
    }
}
