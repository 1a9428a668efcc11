#include "game/goals/SystemDoorBehavior.h"

#include "audio/MessageAudio.h"
#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/MessageTrigger.h"
#include "game/presentation/MessagePlayTransitionState.h"
#include "game/vocabulary/ContactQuestions.h"
#include "game/vocabulary/GameTriggers.h"
#include "physics2d/MessageCollision.h"
#include "services/animation/MessageAnimation.h"

void from_json(const nlohmann::json& j, ComponentDoorBehavior& d) {
    json_read::Key(j, "Next State", d.NextState);
    json_read::Key(j, "Exit Sound", d.ExitSound);
    json_read::Key(j, "Close Animation", d.CloseAnimation);
    json_read::Key(j, "Open Animation", d.OpenAnimation);
    json_read::Key(j, "Start Sequence Open Delay", d.StartSequenceOpenDelay);
    json_read::Key(j, "Start Sequence Close Delay", d.StartSequenceCloseDelay);
    json_read::Key(j, "Is Active", d.IsActive);
    json_read::Key(j, "Start Of Scene", d.StartOfScene);
}

bool SystemDoorBehavior::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update();
            return false;
        case MessageId::Collision: {
            auto& contact = static_cast<const MessageCollision&>(message);
            CollisionHandler(contact.Entity, contact.Other);
            return false;
        }
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (trigger.name == trigger::DeathWall) SetAll(trigger.value);
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemDoorBehavior::Animate(EntityId door, const std::string& animation, bool queued,
                                 float delay) {
    SendMessage(MessageSetAnimation(door, animation, false, queued, delay, 1.0f));
}

void SystemDoorBehavior::Update() {
    ForEachInIdOrder(components, [&](EntityId id, auto& entry) {
        const ComponentDoorBehavior door = entry;
        if (door.StartOfScene) {
            entry.IsActive = false;
            entry.StartOfScene = false;
            Animate(id, door.OpenAnimation);
            Animate(id, door.CloseAnimation, true, door.StartSequenceOpenDelay);
            SendMessage(MessageTrigger(trigger::StartingSequence, true));
            return;
        }
        if (door.IsActive) Animate(id, door.OpenAnimation);
    });
}

void SystemDoorBehavior::CollisionHandler(EntityId entity, EntityId other) {
    auto it = components.find(entity);
    if (it == components.end()) return;
    // A door that leads nowhere cannot be exited: the change to "" would stop the game.
    if (!it->second.IsActive || it->second.Exited || it->second.NextState.empty()) return;
    // A dead player falling past an open door does not finish the level.
    if (!contact::IsUnhurtPlayer(SendMessage, other)) return;

    it = components.find(entity);
    if (it == components.end()) return;
    it->second.Exited = true;
    it->second.IsActive = false;
    const ComponentDoorBehavior door = it->second;
    Animate(entity, door.CloseAnimation);
    SendMessage(MessageAudioEvent(door.ExitSound, glm::vec3(0.0f), glm::vec3(0.0f)));
    SendMessage(MessagePlayTransitionState(door.NextState));
}

void SystemDoorBehavior::SetAll(bool open) {
    ForEachInIdOrder(components, [&](EntityId id, auto& entry) {
        entry.IsActive = open;
        const std::string animation = open ? entry.OpenAnimation : entry.CloseAnimation;
        Animate(id, animation);
    });
}
