#pragma once

#include <array>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"
#include "particle/ParticleCurve.h"

/// Colours the particles of the pool on the same entity from curves over their life.
struct ComponentParticlePoolColor {
    static constexpr std::string_view kName = "Particle Effect Color";

    /// r, g, b, a; an empty curve leaves that channel alone.
    std::array<ParticleCurve, 4> ColorCurves;
};

void from_json(const nlohmann::json& j, ComponentParticlePoolColor& color);

class SystemParticlePoolColor : public System<ComponentParticlePoolColor, SystemParticlePoolColor> {
public:
    bool HandleMessage(const Message& message) override;
};
