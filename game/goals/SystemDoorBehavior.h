#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A door: opens for the player's entrance at the start of a scene, opens again when the chase
/// begins, and when the player walks into it while open, closes and leads to the next state.
struct ComponentDoorBehavior {
    static constexpr std::string_view kName = "Door Behavior";

    /// Empty: the door never leads anywhere and cannot be exited.
    std::string NextState;
    std::string ExitSound;
    std::string CloseAnimation;
    std::string OpenAnimation;
    /// Seconds the door stays open in the starting sequence before it closes.
    float StartSequenceOpenDelay = 1.0f;
    /// Kept for content; nothing depends on it.
    float StartSequenceCloseDelay = 2.0f;
    /// Open, and can be exited.
    bool IsActive = false;
    bool StartOfScene = true;
    bool Exited = false;
};

void from_json(const nlohmann::json& j, ComponentDoorBehavior& door);

class SystemDoorBehavior : public System<ComponentDoorBehavior, SystemDoorBehavior> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Update();
    void CollisionHandler(EntityId entity, EntityId other);
    void SetAll(bool open);
    void Animate(EntityId door, const std::string& animation, bool queued = false,
                 float delay = 0.0f);
};
