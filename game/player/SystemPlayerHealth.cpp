#include "game/player/SystemPlayerHealth.h"

#include "engine/JsonRead.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"

void from_json(const nlohmann::json& j, ComponentPlayerHealth& health) {
    if (j.is_object() && j.contains("Max Health")) {
        json_read::Key(j, "Max Health", health.MaxHealth);
        health.Health = health.MaxHealth;
    }
    json_read::Key(j, "Death Animation Time", health.DeathAnimationTime);
    json_read::Key(j, "Lose State", health.LoseState);
}

bool SystemPlayerHealth::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::Trigger &&
        static_cast<const MessageTrigger&>(message).name == trigger::CheckpointRestore) {
        // The restore has just brought back the saved component; the decrement is saved with
        // the next checkpoint, so a restore never gives a life back.
        for (auto& [entity, health] : components) {
            health.Health -= 1;
            // Without a lose state there is nowhere to go; destroying the level would leave the
            // game without a current state, so play simply goes on.
            if (health.Health < 1 && !health.LoseState.empty()) {
                LeaveStateFor(SendMessage, health.LoseState);
            }
        }
    }
    return System::HandleMessage(message);
}
