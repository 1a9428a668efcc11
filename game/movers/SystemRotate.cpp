#include "game/movers/SystemRotate.h"

#include "engine/JsonRead.h"
#include "engine/MessageKey.h"
#include "game/goals/EntityOrder.h"
#include "physics2d/SystemPhysics.h"

namespace {

constexpr int kKeyX = 88;
constexpr int kKeyZ = 90;

}  // namespace

void from_json(const nlohmann::json& j, ComponentRotate& r) {
    json_read::Key(j, "Speed", r.Speed);
}

bool SystemRotate::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Key) return System::HandleMessage(message);
    auto& key = static_cast<const MessageKey&>(message);
    if (key.action == MessageKey::kPressed && key.key == kKeyX) {
        Rotate(-1.0f);
    } else if (key.action == MessageKey::kPressed && key.key == kKeyZ) {
        Rotate(1.0f);
    } else if (key.action == MessageKey::kReleased) {
        Rotate(0.0f);
    }
    return false;
}

void SystemRotate::Rotate(float direction) {
    for (EntityId id : SortedIds(components)) {
        auto it = components.find(id);
        if (it == components.end()) continue;
        const float speed = it->second.Speed * direction;
        SendMessage(MessageQuery<ComponentPhysics>(
            id, [speed](ComponentPhysics& p) { p.RotationalVelocity.z = speed; }));
    }
}
