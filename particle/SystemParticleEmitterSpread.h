#pragma once

#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/SimulationSeed.h"
#include "engine/System.h"
#include "particle/MessageParticlePool.h"
#include "particle/ParticleNameMap.h"

/// Launches an effect's newborn particles in random directions: a random turn is added to each
/// particle's rotation, and speed and acceleration go along the resulting heading.
struct SpreadSettings {
    float SpeedMinimum = 0.0f;
    float SpeedMaximum = 0.0f;
    float AccelerationMinimum = 0.0f;
    float AccelerationMaximum = 0.0f;
    /// Extra acceleration along world axes.
    glm::vec3 DirectionalAccelerationMinimum{0.0f, 0.0f, 0.0f};
    glm::vec3 DirectionalAccelerationMaximum{0.0f, 0.0f, 0.0f};
    /// Radians added to the rotation per axis; by default a full turn about z.
    glm::vec3 AngleMinimum{0.0f, 0.0f, 0.0f};
    glm::vec3 AngleMaximum{0.0f, 0.0f, 6.2831855f};
};

void from_json(const nlohmann::json& j, SpreadSettings& settings);

struct ComponentParticleEmitterSpread {
    static constexpr std::string_view kName = "Particle Emitter Spread";

    ParticleNameMap<SpreadSettings> effects;
};

void from_json(const nlohmann::json& j, ComponentParticleEmitterSpread& spread);

class SystemParticleEmitterSpread
    : public System<ComponentParticleEmitterSpread, SystemParticleEmitterSpread> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Launch(const MessagePopulateParticlePool& populate);

    std::mt19937 generator{simulation_seed::SeedFor("particle emitter spread", 5489u)};
};
