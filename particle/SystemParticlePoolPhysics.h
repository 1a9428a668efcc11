#pragma once

#include <array>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/System.h"
#include "particle/MessageParticlePool.h"
#include "particle/ParticleCurve.h"
#include "physics2d/SystemPhysics.h"

/// Moves the particles of the pool on the same entity: each particle's own velocity and
/// acceleration, velocity and scale curves over its life, and optionally the entity's motion.
struct ComponentParticlePoolPhysics {
    static constexpr std::string_view kName = "Particle Effect Physics";

    /// Extra velocity over life, x, y, z; an empty curve adds nothing.
    std::array<ParticleCurve, 3> VelocityCurves;
    /// Scale over life, x, y, z; an empty curve leaves that axis alone.
    std::array<ParticleCurve, 3> ScaleCurves;
    /// Particles also move with the velocity of the pool's entity (or of its parent).
    bool Follow = false;
    /// One record per particle, parallel to the pool's arrays; only Acceleration and Velocity
    /// are used.
    std::vector<ComponentPhysics> Particles;
};

void from_json(const nlohmann::json& j, ComponentParticlePoolPhysics& physics);

class SystemParticlePoolPhysics
    : public System<ComponentParticlePoolPhysics, SystemParticlePoolPhysics> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Update(float dt);
    glm::vec3 FollowVelocity(EntityId entity);
};
