#include "game/movers/SystemTeleport.h"

#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/SystemTransform.h"

void from_json(const nlohmann::json& j, ComponentTeleport& t) {
    json_read::Key(j, "Left", t.Left);
    json_read::Key(j, "Top", t.Top);
    json_read::Key(j, "Right", t.Right);
    json_read::Key(j, "Bottom", t.Bottom);
}

bool SystemTeleport::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    ForEachInIdOrder(components, [&](EntityId id, auto& entry) {
        const ComponentTeleport box = entry;
        SendMessage(MessageQuery<ComponentTransform>(id, [&](ComponentTransform& t) {
            if (t.translation.x < box.Left) {
                t.translation.x = box.Right;
            } else if (t.translation.x > box.Right) {
                t.translation.x = box.Left;
            }
            if (t.translation.y > box.Top) {
                t.translation.y = box.Bottom;
            } else if (t.translation.y < box.Bottom) {
                t.translation.y = box.Top;
            }
        }));
    });
    return false;
}
