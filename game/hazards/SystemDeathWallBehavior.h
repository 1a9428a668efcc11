#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

/// The wall that chases the player once "Death Wall" fires: faster the further the player
/// gets ahead, with its rumble, noise particles and the camera shake following the gap.
struct ComponentDeathWallBehavior {
    static constexpr std::string_view kName = "Death Wall Behavior";

    bool Active = false;
    /// Horizontal gap between the player and the wall's box edge.
    float DistanceToPlayer = 0.0f;
    float TargetSpeed = 0.0f;
    float BaseSpeed = 0.0f;
    float Speed1 = 0.0f;
    float Distance1 = 0.0f;
    float Speed2 = 0.0f;
    /// Checked before `Distance1`.
    float Distance2 = 0.0f;
    /// Applied while the wall is not faster than the target speed.
    float PositiveAcceleration = 0.0f;
    float NegativeAcceleration = 0.0f;
    std::string DistanceSound;
    std::string DistanceSoundParameter;
    /// Scales the gap for the audio parameter and the camera shake.
    float DistanceSoundMultiplier = 1.0f;
    std::vector<std::string> Effects;
    /// The emitter effect whose spawn rate follows the gap.
    std::string NoiseEffect;
    float NoiseSpawnRate = 1.0f;

    /// The speed tier for a gap; the comparisons are strict.
    float SpeedFor(float distance) const {
        if (distance > Distance2) return Speed2;
        if (distance > Distance1) return Speed1;
        return BaseSpeed;
    }
};

void from_json(const nlohmann::json& j, ComponentDeathWallBehavior& wall);

class SystemDeathWallBehavior : public System<ComponentDeathWallBehavior, SystemDeathWallBehavior> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Update();
    void CalculateDistanceToPlayer(const glm::vec3& position);
    void SwitchOn();
    void OnRestore();
};
