#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// A checkpoint: held still until the player touches it, then it restores lives, plays its
/// animation, sound and effects, and has the state saved.
struct ComponentCheckpointCollider {
    static constexpr std::string_view kName = "Checkpoint Collision Handler";

    int LivesRestored = 0;
    /// Held at its start until activation, then played once.
    std::string ActivationAnimation = "empty";
    std::string ActivationSound;
    /// Seconds from activation until the activation effect gives way to the activated one.
    float ActivationTime = 0.0f;
    std::string ActivationEffect;
    /// Started after `ActivationTime`, and again after every checkpoint restore.
    std::string ActivatedEffect;

    bool AnimationHeld = false;
    bool ActivationDone = false;
    bool Activated = false;
    float ActivationTimer = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentCheckpointCollider& checkpoint);

class SystemCheckpointCollision
    : public System<ComponentCheckpointCollider, SystemCheckpointCollision> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Update(float dt);
    void CollisionHandler(EntityId entity, EntityId other);
};
