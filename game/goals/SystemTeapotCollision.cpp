#include "game/goals/SystemTeapotCollision.h"

#include <cmath>

#include <glm/geometric.hpp>

#include "audio/MessageAudio.h"
#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/vocabulary/ContactQuestions.h"
#include "game/vocabulary/GameTriggers.h"
#include "physics2d/MessageCollision.h"

namespace {

/// Takes `amount` off the magnitude of a signed scale, keeping its sign.
float ShrinkToward0(float scale, float amount) {
    const float magnitude = std::fabs(scale) - amount;
    if (magnitude <= 0.0f) return 0.0f;
    return std::copysign(magnitude, scale);
}

}  // namespace

void from_json(const nlohmann::json& j, ComponentTeapotCollider& t) {
    json_read::Key(j, "Trigger Name", t.TriggerName);
    json_read::Key(j, "Trigger Delay", t.TriggerDelay);
    t.DelayTimer = t.TriggerDelay;
    json_read::Key(j, "Audio Event", t.AudioEvent);
    json_read::Key(j, "Activation Sound", t.ActivationSound);
    json_read::Key(j, "Shrink Rate", t.ShrinkRate);
    json_read::Key(j, "Move To Players Hand When Collected", t.MoveToPlayersHand);
    json_read::Key(j, "Move To Hand Speed", t.MoveToHandSpeed);
    json_read::Key(j, "Player Hand X Offset", t.PlayerHandXOffset);
    json_read::Key(j, "Player Hand Y Offset", t.PlayerHandYOffset);
}

bool SystemTeapotCollision::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Collision: {
            auto& contact = static_cast<const MessageCollision&>(message);
            CollisionHandler(contact.Entity, contact.Other);
            return false;
        }
        case MessageId::ListenerPosition: {
            const glm::vec3 p = static_cast<const MessageListenerPosition&>(message).position;
            for (auto& [entity, teapot] : components) teapot.PlayerPosition = p;
            return System::HandleMessage(message);
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemTeapotCollision::CollisionHandler(EntityId entity, EntityId other) {
    auto it = components.find(entity);
    if (it == components.end() || it->second.Collected) return;
    if (!contact::IsUnhurtPlayer(SendMessage, other)) return;

    const std::string sound = it->second.ActivationSound;
    glm::vec3 position{0.0f};
    SendMessage(MessageQuery<ComponentTransform>(
        entity, [&](ComponentTransform& t) { position = t.translation; }));
    SendMessage(MessageAudioEvent(sound, position, glm::vec3(0.0f)));
    bool facingLeft = false;
    SendMessage(MessageQuery<ComponentTransform>(
        other, [&](ComponentTransform& t) { facingLeft = t.scale.x <= 0.0f; }));
    it = components.find(entity);
    if (it != components.end() && facingLeft) {
        it->second.PlayerHandXOffset = -it->second.PlayerHandXOffset;
    }
    SendMessage(MessageTrigger(trigger::PlayWinAnimation, true));
    it = components.find(entity);
    if (it != components.end()) it->second.Collected = true;
}

void SystemTeapotCollision::Update(float dt) {
    ForEachInIdOrder(components, [&](EntityId id, ComponentTeapotCollider& teapot) {
        if (!teapot.Collected || teapot.Vanished) return;
        // A teapot without a positive delay skips the shrinking and vanishes at once, so that
        // its trigger still fires.
        if (teapot.DelayTimer > 0.0f) {
            teapot.DelayTimer -= dt;
            const ComponentTeapotCollider copy = teapot;
            Shrink(id, copy.ShrinkRate * dt);
            if (copy.MoveToPlayersHand) MoveToHand(id, copy, dt);
            // Their handlers may have removed this teapot.
            if (!components.count(id)) return;
        }
        if (teapot.DelayTimer <= 0.0f) {
            teapot.Vanished = true;
            Vanish(id);
        }
    });
}

void SystemTeapotCollision::Shrink(EntityId teapot, float amount) {
    SendMessage(MessageQuery<ComponentTransform>(teapot, [&](ComponentTransform& t) {
        // Magnitudes shrink, so a mirrored teapot shrinks like any other; z is not drawn, and
        // a flat z scale must not make the teapot vanish early.
        t.scale.x = ShrinkToward0(t.scale.x, amount);
        t.scale.y = ShrinkToward0(t.scale.y, amount);
        if (t.scale.x == 0.0f || t.scale.y == 0.0f) {
            t.scale.x = 0.0f;
            t.scale.y = 0.0f;
        }
    }));
}

void SystemTeapotCollision::MoveToHand(EntityId teapot, const ComponentTeapotCollider& c,
                                       float dt) {
    const glm::vec2 target(c.PlayerPosition.x + c.PlayerHandXOffset,
                           c.PlayerPosition.y + c.PlayerHandYOffset);
    SendMessage(MessageQuery<ComponentTransform>(teapot, [&](ComponentTransform& t) {
        const glm::vec2 d = target - glm::vec2(t.translation);
        const float distance = glm::length(d);
        const float step = c.MoveToHandSpeed * dt;
        if (step >= distance) {
            t.translation.x = target.x;
            t.translation.y = target.y;
            return;
        }
        const glm::vec2 move = d / distance * step;
        t.translation.x += move.x;
        t.translation.y += move.y;
    }));
}

void SystemTeapotCollision::Vanish(EntityId teapot) {
    SendMessage(MessageQuery<ComponentTransform>(
        teapot, [](ComponentTransform& t) { t.scale = glm::vec3(0.0f); }));
    auto it = components.find(teapot);
    if (it == components.end()) return;
    const std::string audio = it->second.AudioEvent;
    const std::string trigger = it->second.TriggerName;
    if (!audio.empty()) SendMessage(MessageAudioEvent(audio, glm::vec3(0.0f), glm::vec3(0.0f)));
    SendMessage(MessageTrigger(trigger, true));
}
