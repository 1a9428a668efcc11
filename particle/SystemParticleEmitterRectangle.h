#pragma once

#include <array>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

#include "engine/SimulationSeed.h"
#include "engine/System.h"
#include "particle/MessageParticlePool.h"
#include "particle/ParticleNameMap.h"

/// Scatters an effect's newborn particles over a box around the emitter. Each axis draws from
/// a piecewise-constant distribution over `Intervals` with `Weights`, scaled by `HalfArea`.
struct RectangleSettings {
    /// Half of "Spawn Area" per axis.
    glm::vec3 HalfArea{0.0f, 0.0f, 0.0f};
    std::array<std::vector<float>, 3> Weights{{{1.0f, 1.0f}, {1.0f, 1.0f}, {1.0f}}};
    std::array<std::vector<float>, 3> Intervals{{{-1.0f, 1.0f}, {-1.0f, 1.0f}, {0.0f}}};
};

void from_json(const nlohmann::json& j, RectangleSettings& settings);

struct ComponentParticleEmitterRectangle {
    static constexpr std::string_view kName = "Particle Emitter Rectangle";

    ParticleNameMap<RectangleSettings> effects;
};

void from_json(const nlohmann::json& j, ComponentParticleEmitterRectangle& rectangle);

class SystemParticleEmitterRectangle
    : public System<ComponentParticleEmitterRectangle, SystemParticleEmitterRectangle> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Scatter(const MessagePopulateParticlePool& populate);

    std::mt19937 generator{simulation_seed::SeedFor("particle emitter rectangle", 5489u)};
};
