#include "game/goals/SystemObjectiveTracker.h"

#include <algorithm>
#include <cmath>

#include "engine/ComponentSprite.h"
#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "game/goals/SystemDoorBehavior.h"

namespace {

/// Drawn just in front of the tracker's own entity.
constexpr float kDepthOffset = 0.01f;

}  // namespace

void from_json(const nlohmann::json& j, ComponentObjectiveTracker& t) {
    json_read::Key(j, "Counter Filepath", t.CounterFilepath);
    json_read::Key(j, "Guidance Filepath", t.GuidanceFilepath);
    json_read::Key(j, "Counter Is Active", t.CounterIsActive);
    json_read::Key(j, "Guidance Is Active", t.GuidanceIsActive);
}

float SystemObjectiveTracker::GuidanceAngle(float dx, float dy, float previous) {
    const float length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0.0f) || !std::isfinite(length)) return previous;
    const float angle = std::acos(std::clamp(dx / length, -1.0f, 1.0f));
    return dy < 0.0f ? -angle : angle;
}

bool SystemObjectiveTracker::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::Update) {
        Update();
        return false;
    }
    return System::HandleMessage(message);
}

void SystemObjectiveTracker::Update() {
    ForEachInIdOrder(components, [&](EntityId id, ComponentObjectiveTracker& objective) {
        if (!objective.GuidanceIsActive || objective.CounterIsActive) return;

        // The door with the lowest id, so the choice does not depend on the table's order.
        EntityId door = 0;
        SendMessage(MessageQueryContainer<ComponentDoorBehavior>(
            [&](std::unordered_map<EntityId, ComponentDoorBehavior>& doors) {
                for (auto& entry : doors) {
                    if (door == 0 || entry.first < door) door = entry.first;
                }
            }));
        if (door == 0) return;

        bool hasTracker = false;
        bool hasDoor = false;
        ComponentTransform tracker;
        glm::vec3 target{0.0f};
        SendMessage(MessageQuery<ComponentTransform>(id, [&](ComponentTransform& t) {
            hasTracker = true;
            tracker = t;
        }));
        SendMessage(MessageQuery<ComponentTransform>(door, [&](ComponentTransform& t) {
            hasDoor = true;
            target = t.translation;
        }));
        // The queries' handlers may have removed this tracker.
        if (!hasTracker || !hasDoor || !components.count(id)) return;

        objective.Angle = GuidanceAngle(target.x - tracker.translation.x,
                                        target.y - tracker.translation.y, objective.Angle);
        ComponentSprite sprite;
        sprite.texture = objective.GuidanceFilepath;
        sprite.shader = "Default";
        ComponentTransform drawn = tracker;
        drawn.translation.z += kDepthOffset;
        drawn.rotation.z = objective.Angle;
        SendMessage(MessageSpriteRender(sprite, drawn));
    });
}
