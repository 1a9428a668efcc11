#include "game/triggers/SystemTrigger.h"

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/MessageTrigger.h"
#include "game/vocabulary/ContactQuestions.h"
#include "physics2d/MessageCollision.h"

void from_json(const nlohmann::json& j, ComponentTrigger& t) {
    json_read::Key(j, "Name", t.TriggerName);
    json_read::Key(j, "Audio Event", t.AudioEvent);
    json_read::Key(j, "Audio Parameter", t.AudioParameter);
    json_read::Key(j, "Audio Parameter Value", t.AudioParameterValue);
    json_read::Key(j, "Destruct", t.Destruct);
}

bool SystemTrigger::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::Collision) {
        auto& contact = static_cast<const MessageCollision&>(message);
        CollisionHandler(contact.Entity, contact.Other);
        return false;
    }
    return System::HandleMessage(message);
}

void SystemTrigger::CollisionHandler(EntityId entity, EntityId other) {
    auto it = components.find(entity);
    if (it == components.end() || it->second.Triggered) return;
    // A dead player falling through the level does not set off what it passes.
    if (!contact::IsUnhurtPlayer(SendMessage, other)) return;

    it = components.find(entity);
    if (it == components.end()) return;
    it->second.Triggered = true;
    // Copied: the trigger's handlers may change this table.
    const ComponentTrigger trigger = it->second;
    if (trigger.Destruct) SendMessage(MessageDestroyEntity(entity));
    if (!trigger.TriggerName.empty()) SendMessage(MessageTrigger(trigger.TriggerName, true));
    if (!trigger.AudioEvent.empty()) {
        SendMessage(MessageAudioEvent(trigger.AudioEvent, glm::vec3(0.0f), glm::vec3(0.0f)));
    }
    if (!trigger.AudioParameter.empty()) {
        SendMessage(MessageAudioParameter(trigger.AudioParameter, trigger.AudioParameterValue));
    }
}
