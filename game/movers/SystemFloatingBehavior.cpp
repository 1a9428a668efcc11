#include "game/movers/SystemFloatingBehavior.h"

#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/SystemTransform.h"
#include "physics2d/SystemPhysics.h"

void from_json(const nlohmann::json& j, ComponentFloatingBehavior& f) {
    json_read::Key(j, "Anchor Point", f.AnchorPoint);
    json_read::Key(j, "Acceleration Above Anchor", f.AccelerationAboveAnchor);
    json_read::Key(j, "Acceleration Below Anchor", f.AccelerationBelowAnchor);
}

bool SystemFloatingBehavior::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    ForEachInIdOrder(components, [&](EntityId id, const ComponentFloatingBehavior& floating) {
        UpdateFloatingMovement(id, ComponentFloatingBehavior(floating));
    });
    return false;
}

void SystemFloatingBehavior::UpdateFloatingMovement(EntityId entity,
                                                    const ComponentFloatingBehavior& f) {
    float y = 0.0f;
    bool hasTransform = false;
    SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
        hasTransform = true;
        y = t.translation.y;
    }));
    if (!hasTransform) return;
    SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
        // Switched only while the acceleration still points the old way, so the entity
        // overshoots the anchor and swings back.
        if (y - f.AnchorPoint >= 0.0f) {
            if (p.Acceleration.y >= 0.0f) p.Acceleration.y = f.AccelerationAboveAnchor;
        } else if (p.Acceleration.y < 0.0f) {
            p.Acceleration.y = f.AccelerationBelowAnchor;
        }
    }));
}
