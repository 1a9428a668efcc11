#pragma once

#include <string_view>

#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/JsonRead.h"
#include "engine/System.h"

/// Motion of one entity. Game systems steer an entity by writing here; the next update of
/// SystemPhysics moves its transform.
struct ComponentPhysics {
    static constexpr std::string_view kName = "Physics";

    /// Units per second squared, added to Velocity each step.
    glm::vec3 Acceleration{0.0f};
    /// Units per second, added to the transform's translation each step.
    glm::vec3 Velocity{0.0f};
    glm::vec3 RotationalAcceleration{0.0f};
    /// Radians per second, added to the transform's rotation each step.
    glm::vec3 RotationalVelocity{0.0f};
    /// The translation just before the latest step; written only by SystemPhysics.
    glm::vec3 PreviousTranslation{0.0f};
};

/// Reads "Acceleration", "Velocity", "Rotational Acceleration", "Rotational Velocity"
/// (first three elements of each array).
inline void from_json(const nlohmann::json& j, ComponentPhysics& physics) {
    json_read::Vec<3>(j, "Acceleration", physics.Acceleration);
    json_read::Vec<3>(j, "Velocity", physics.Velocity);
    json_read::Vec<3>(j, "Rotational Acceleration", physics.RotationalAcceleration);
    json_read::Vec<3>(j, "Rotational Velocity", physics.RotationalVelocity);
}

/// Semi-implicit Euler integration of every ComponentPhysics into its entity's transform, once
/// per MessageUpdate; draws velocity arrows while its debug switch is on.
class SystemPhysics : public System<ComponentPhysics, SystemPhysics> {
public:
    SystemPhysics();
    bool HandleMessage(const Message& message) override;

    /// Velocity arrows on MessageRender.
    bool debugDraw = false;

private:
    void Integrate(float dt);
    void DrawArrows();
};
