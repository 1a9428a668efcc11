#include "particle/SystemParticlePoolColor.h"

#include <algorithm>

#include "engine/MessageFrame.h"
#include "particle/ParticleMath.h"
#include "particle/SystemParticlePool.h"

void from_json(const nlohmann::json& j, ComponentParticlePoolColor& color) {
    ReadCurves(j, "Color", color.ColorCurves);
}

bool SystemParticlePoolColor::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    const ComponentParticlePoolColor* modifier = nullptr;
    const std::function<void(ComponentParticlePool&)> recolor = [&](ComponentParticlePool& pool) {
        const std::size_t count = std::min(pool.Colors.size(), pool.Ages.size());
        for (std::size_t i = 0; i < count; ++i) {
            const float t = particle_math::LifeFraction(pool.Ages[i]);
            glm::vec4& color = pool.Colors[i];
            for (int channel = 0; channel < 4; ++channel) {
                color[channel] = EvaluateCurve(modifier->ColorCurves[channel], t, color[channel]);
            }
        }
    };
    for (const auto& [entity, component] : components) {
        modifier = &component;
        SendMessage(MessageQuery<ComponentParticlePool>(entity, recolor));
    }
    return false;
}
