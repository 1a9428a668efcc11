#include "game/movers/SystemRotate.h"

#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageKey.h"
#include "physics2d/SystemPhysics.h"

namespace {}  // namespace

void from_json(const nlohmann::json& j, ComponentRotate& r) {
    json_read::Key(j, "Speed", r.Speed);
}

bool SystemRotate::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Key) return System::HandleMessage(message);
    auto& key = static_cast<const MessageKey&>(message);
    if (key.action == MessageKey::kPressed && key.key == keycode::X) {
        Rotate(-1.0f);
    } else if (key.action == MessageKey::kPressed && key.key == keycode::Z) {
        Rotate(1.0f);
    } else if (key.action == MessageKey::kReleased) {
        Rotate(0.0f);
    }
    return false;
}

void SystemRotate::Rotate(float direction) {
    ForEachInIdOrder(components, [&](EntityId id, auto& entry) {
        const float speed = entry.Speed * direction;
        SendMessage(MessageQuery<ComponentPhysics>(
            id, [speed](ComponentPhysics& p) { p.RotationalVelocity.z = speed; }));
    });
}
