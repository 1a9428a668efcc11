#include "game/hud/SystemHUDTimer.h"

#include <algorithm>
#include <vector>

#include "engine/ComponentSprite.h"
#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/vocabulary/ContactQuestions.h"
#include "physics2d/MessageCollision.h"

namespace {
const glm::ivec2 kFullClock{2, 1};

}  // namespace

void from_json(const nlohmann::json& j, ComponentHUDTimer& timer) {
    json_read::Key(j, "Time Limit", timer.TimeLimit);
    json_read::Key(j, "Time Warning", timer.TimeWarning);
    json_read::Key(j, "Time Out Trigger", timer.TimeOutTrigger);
}

glm::ivec2 SystemHUDTimer::ClockCell(float limit, float remaining) {
    // The face for the sixth of the limit that `remaining` lies in, the upper bound of each
    // sixth included. Compared as 6 r <= k L in double, which is exact for float inputs: the
    // single-precision products L x 0.8333333 and so on fall just short of k L / 6 and would
    // show the face of the sixth above at the exact boundaries.
    static const glm::ivec2 kFaces[] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}};
    const double r6 = static_cast<double>(remaining) * 6.0;
    for (int k = 1; k <= 5; ++k) {
        if (r6 <= static_cast<double>(limit) * k) return kFaces[k - 1];
    }
    return kFullClock;
}

glm::ivec2 SystemHUDTimer::Cell(const ComponentHUDTimer& timer) {
    glm::ivec2 cell = ClockCell(timer.TimeLimit, timer.TimeRemaining);
    if (timer.TimeWarning > 0.0f && timer.TimeRemaining <= timer.TimeWarning) {
        cell.y += kWarningRowOffset;
    }
    return cell;
}

bool SystemHUDTimer::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Key:
            OnKey(message);
            return false;
        case MessageId::Collision: {
            auto& collision = static_cast<const MessageCollision&>(message);
            OnCollision(collision.Entity, collision.Other);
            return false;
        }
        case MessageId::ChangeState:
            for (auto& [entity, timer] : components) {
                timer.Started = false;
                timer.Shown = false;
                timer.Stopped = false;
                timer.TimeRemaining = timer.TimeLimit;
            }
            return false;
        case MessageId::PlayTransitionState:
            // The player has reached the exit: the clock must not run out during the fade.
            for (auto& [entity, timer] : components) timer.Stopped = true;
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemHUDTimer::Update(float dt) {
    bool timedOut = false;
    // Sent after the loop: a trigger's receivers may touch this system's table.
    std::vector<std::string> announce;
    std::vector<std::string> timeOutTriggers;
    for (auto& [entity, timer] : components) {
        if (!timer.Announced) {
            timer.Announced = true;
            if (!timer.TimeOutTrigger.empty()) announce.push_back(timer.TimeOutTrigger);
        }
        if (timer.Stopped) continue;
        if (!timer.Started) {
            timer.TimeRemaining = timer.TimeLimit;
            SetCell(entity, kFullClock);
        } else {
            timer.TimeRemaining -= dt;
        }
        if (timer.Shown) {
            SetCell(entity, Cell(timer));
            if (timer.Frozen) timer.TimeRemaining = timer.TimeLimit;
        }
        if (timer.TimeRemaining <= 0.0f) {
            timer.TimeRemaining = timer.TimeLimit;
            timedOut = true;
            if (!timer.TimeOutTrigger.empty()) timeOutTriggers.push_back(timer.TimeOutTrigger);
        }
    }
    // One request however many clocks ran out in this update; the triggers go first, while the
    // level is still the current state.
    for (const auto& name : announce) SendMessage(MessageTrigger(name, false));
    for (const auto& name : timeOutTriggers) SendMessage(MessageTrigger(name, true));
    if (timedOut) {
        LeaveStateFor(SendMessage, kLoseState);
    }
}

void SystemHUDTimer::OnKey(const Message& message) {
    auto& key = static_cast<const MessageKey&>(message);
    if (key.action != MessageKey::kPressed) return;
    for (auto& [entity, timer] : components) {
        // Refill and freeze are debug tools: without the debug flag they would let any
        // player stop the clock.
        if (key.debug && key.key == keycode::O) timer.TimeRemaining = timer.TimeLimit;
        if (!timer.Started) {
            timer.Started = true;
            timer.Shown = true;
            timer.TimeRemaining = timer.TimeLimit;
        }
        if (key.debug && key.key == keycode::P) timer.Frozen = !timer.Frozen;
        // Leaving debug mode arrives as the grave key without the flag.
        if (!key.debug && key.key == keycode::Grave) timer.Frozen = false;
    }
}

void SystemHUDTimer::OnCollision(EntityId entity, EntityId other) {
    if (components.empty()) return;
    const std::function<void(ComponentPlayerCollider&)> penalty =
        [&](ComponentPlayerCollider& player) {
            if (!player.timePenaltyPending || !contact::IsEnemy(SendMessage, other)) return;
            // Lowest entity id first, so that which clock pays does not depend on hashing.
            for (EntityId id : SortedIds(components)) {
                auto& timer = components.at(id);
                if (timer.Stopped) continue;
                timer.TimeRemaining =
                    std::max(0.0f, timer.TimeRemaining - timer.TimeLimit * kPenaltyShare);
                player.timePenaltyPending = false;
                break;
            }
        };
    SendMessage(MessageQuery<ComponentPlayerCollider>(entity, penalty));
}

void SystemHUDTimer::SetCell(EntityId entity, glm::ivec2 cell) {
    const std::function<void(ComponentSprite&)> set = [cell](ComponentSprite& sprite) {
        sprite.index = cell;
    };
    SendMessage(MessageQuery<ComponentSprite>(entity, set));
}
