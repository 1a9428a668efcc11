#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A ground enemy's patrol between two x coordinates, its facing and its animation choice.
struct ComponentEnemyBehavior {
    static constexpr std::string_view kName = "Enemy Behavior";

    /// Kept for content; nothing reads it.
    float ShootSpeed = 0.0f;
    /// Units per second, given to the velocity at each turn; 0 once hit.
    float WalkSpeed = 0.0f;
    /// World x; walking left past it ends the leg.
    float PatrolLeftEnd = 0.0f;
    /// World x; walking right past it ends the leg.
    float PatrolRightEnd = 0.0f;
    /// Seconds standing still at each end before turning.
    float PatrolPauseLength = 0.0f;
    std::string WalkAnimation = "walk";
    std::string IdleAnimation = "idle";
    /// Played once when hit.
    std::string HurtAnimation = "hurt";
    /// Kept for content; nothing reads it.
    std::string DeathAnimation = "death";

    bool FacingRight = false;
    /// An animation request is due at the next opportunity.
    bool AnimationDirty = true;
    /// Standing at an end of the patrol.
    bool Pausing = false;
    float PauseTimer = 0.0f;
    /// Life during the start-up phase, in which the facing is taken from the first velocity.
    float StartTimer = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentEnemyBehavior& behavior);

/// Walks enemies back and forth through their physics velocity, pauses them at each end,
/// mirrors them at each turn and stops them once they are dying.
class SystemEnemyBehavior : public System<ComponentEnemyBehavior, SystemEnemyBehavior> {
public:
    bool HandleMessage(const Message& message) override;

    /// The start-up phase lasts until this much update time has passed.
    static constexpr float kStartUpTime = 0.05f;

private:
    void Update(float dt);
    void Patrol(EntityId entity, ComponentEnemyBehavior& behavior, float dt);
};
