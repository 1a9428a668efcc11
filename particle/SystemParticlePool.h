#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include "engine/ComponentSprite.h"
#include "engine/System.h"
#include "engine/SystemTransform.h"
#include "particle/MessageParticlePool.h"
#include "particle/ParticleNameMap.h"

/// One named effect: a sprite description and the live particles drawn with it, as four
/// parallel arrays (index i is the same particle in each, and in every modifier's arrays).
/// Particles are appended at the end and removed by swapping the last one into the hole.
struct ComponentParticlePool {
    static constexpr std::string_view kName = "Particle Effect";

    ComponentSprite Sprite;
    /// (age, lifetime) in seconds.
    std::vector<glm::vec2> Ages;
    /// World placement of each particle.
    std::vector<ComponentTransform> Transforms;
    std::vector<glm::vec4> Colors;
    /// Sheet cell (column, row).
    std::vector<glm::ivec2> Frames;

    std::size_t Size() const { return Transforms.size(); }
    /// Swaps particle `index` with the last one in all four arrays and drops the last.
    void RemoveSwapLast(std::size_t index);
};

/// Reads "Name" (required, string) and "Sprite"; the particle arrays are never read.
void from_json(const nlohmann::json& j, ComponentParticlePool& pool);

/// Ages and removes particles, draws each non-empty pool with one batch message, and finds
/// pools by effect name for the emitters and modifiers.
class SystemParticlePool : public System<ComponentParticlePool, SystemParticlePool> {
public:
    bool HandleMessage(const Message& message) override;

    /// Effect name -> the entity holding its pool. The first live pool of a name keeps it.
    ParticleNameMap<EntityId> names;

private:
    void Age(float dt);
    void Render();

    /// Reused between updates so that ageing does not allocate once warm.
    std::vector<std::uint64_t> removed;
};
