#include "game/run/SystemRunClock.h"

#include <functional>
#include <unordered_map>

#include "engine/ManagerState.h"
#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "game/hud/SystemHUDTimer.h"

bool SystemRunClock::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::ChangeState:
            // Taken over when the state is entered: until then the old state still updates,
            // and a level lost in this frame must still count as the level.
            record->nextState = std::string(static_cast<const MessageChangeState&>(message).name);
            record->askedIn = serial;
            return false;
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (!trigger.value) return false;
            // The state manager announces the checkpoint of every state it enters; a checkpoint
            // touched in the state being left is no entry.
            if (trigger.name == ManagerState::kCheckpoint && !record->nextState.empty() &&
                record->askedIn != serial) {
                record->state = std::move(record->nextState);
                record->nextState.clear();
            } else if (trigger.name == kStartTrigger) {
                record->Start();
            } else if (trigger.name == kRetryTrigger) {
                Retry();
            }
            return false;
        }
        default:
            return false;
    }
}

void SystemRunClock::Update(float dt) {
    bool level = false;
    bool counting = false;
    const std::function<void(std::unordered_map<EntityId, ComponentHUDTimer>&)> look =
        [&](std::unordered_map<EntityId, ComponentHUDTimer>& timers) {
            for (const auto& [entity, timer] : timers) {
                level = true;
                counting = counting || (timer.Started && !timer.Stopped);
            }
        };
    SendMessage(MessageQueryContainer<ComponentHUDTimer>(look));
    if (level && !record->state.empty()) record->lastLevel = record->state;
    if (counting) record->playTime += dt;
}

void SystemRunClock::Retry() {
    // Copied: the change below passes through this system and rewrites the record.
    const std::string target =
        record->lastLevel.empty() ? std::string(kNoLevelState) : record->lastLevel;
    LeaveStateFor(SendMessage, target);
}
