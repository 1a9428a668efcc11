#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include "engine/SimulationSeed.h"
#include "engine/System.h"
#include "engine/SystemTransform.h"
#include "particle/MessageEmitParticle.h"
#include "particle/MessageParticlePool.h"
#include "particle/ParticleNameMap.h"

/// How one effect of an emitter gives birth: when, how many, and each newborn's lifetime,
/// size, colour and sheet frame.
struct EmitterSettings {
    bool Start = true;
    float LifetimeMinimum = 0.0f;
    float LifetimeMaximum = 0.0f;
    /// Particles per start; 0 means no limit.
    std::uint64_t Count = 0;
    /// Seconds between two births; 0 gives all `Count` at once.
    float SpawnRate = 0.0f;
    float ScaleMinimum = 1.0f;
    float ScaleMaximum = 1.0f;
    glm::vec3 Scale{1.0f, 1.0f, 1.0f};
    int IndexMinimum = 0;
    int IndexMaximum = 0;
    glm::vec4 ColorMinimum{1.0f, 1.0f, 1.0f, 1.0f};
    glm::vec4 ColorMaximum{1.0f, 1.0f, 1.0f, 1.0f};
    /// Added to the emitter's world translation, along world axes.
    glm::vec3 TranslationOffset{0.0f, 0.0f, 0.0f};

    /// Time carried towards the next birth.
    float accumulator = 0.0f;
    /// Particles born since the last start.
    std::uint64_t emitted = 0;
};

void from_json(const nlohmann::json& j, EmitterSettings& settings);

/// The effects an entity emits, by effect name (which is also the pool's name).
struct ComponentParticleEmitter {
    static constexpr std::string_view kName = "Particle Emitter";

    ParticleNameMap<EmitterSettings> effects;

    /// Where the entity was when last seen (when an effect started, and at each birth pass).
    /// An effect still due when the entity is destroyed is born there, so a burst started
    /// by something that destroys itself at once still shows.
    ComponentTransform lastPlacement;
    bool placed = false;
};

void from_json(const nlohmann::json& j, ComponentParticleEmitter& emitter);

/// Gives birth to particles in the pools its effects name, and starts and stops effects on
/// `MessageEmitParticle`.
class SystemParticleEmitter : public System<ComponentParticleEmitter, SystemParticleEmitter> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void Update(float dt);
    /// Remembers the entity's transform for LastBirths.
    void Place(EntityId entity);
    /// The births still due to a destroyed entity's started effects, at its last placement.
    void LastBirths(EntityId entity);

    std::mt19937 generator{simulation_seed::SeedFor("particle emitter", 5489u)};
};
