#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Steps the sheet cell of the particles of the pool on the same entity with their age.
struct ComponentParticlePoolAnimation {
    static constexpr std::string_view kName = "Particle Effect Animation";

    /// Cells per second of particle age.
    float FPS = 24.0f;
    /// Wrap around after the last cell; otherwise hold it.
    bool Looping = true;
    /// Cells in the animation; fewer than 1 holds the first cell.
    int FrameCount = 1;
};

void from_json(const nlohmann::json& j, ComponentParticlePoolAnimation& animation);

class SystemParticlePoolAnimation
    : public System<ComponentParticlePoolAnimation, SystemParticlePoolAnimation> {
public:
    bool HandleMessage(const Message& message) override;
};
