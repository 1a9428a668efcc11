#pragma once

#include <string>
#include <string_view>

#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"
#include "game/vocabulary/GameTriggers.h"

/// The level's collectible: touched by the player it plays the win animation, follows the
/// player's hand while shrinking, and after its delay vanishes and fires its trigger.
struct ComponentTeapotCollider {
    static constexpr std::string_view kName = "Teapot Collision Handler";

    std::string TriggerName{trigger::DeathWall};
    /// Seconds from collection to vanishing.
    float TriggerDelay = 0.0f;
    /// Played when the teapot vanishes, if not empty.
    std::string AudioEvent = "DeathWallOn";
    std::string ActivationSound;
    /// Scale units per second taken from x and y after collection.
    float ShrinkRate = 1.0f;
    bool MoveToPlayersHand = true;
    float MoveToHandSpeed = 1.0f;
    /// Mirrored once at collection when the player faces left.
    float PlayerHandXOffset = 0.0f;
    float PlayerHandYOffset = 0.0f;
    bool Collected = false;
    /// Seconds left until vanishing.
    float DelayTimer = 0.0f;
    /// The trigger has fired; nothing more happens.
    bool Vanished = false;
    glm::vec3 PlayerPosition{0.0f};
};

void from_json(const nlohmann::json& j, ComponentTeapotCollider& teapot);

class SystemTeapotCollision : public System<ComponentTeapotCollider, SystemTeapotCollision> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Update(float dt);
    void CollisionHandler(EntityId entity, EntityId other);
    void Shrink(EntityId teapot, float amount);
    void MoveToHand(EntityId teapot, const ComponentTeapotCollider& c, float dt);
    void Vanish(EntityId teapot);
};
