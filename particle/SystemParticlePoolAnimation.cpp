#include "particle/SystemParticlePoolAnimation.h"

#include <algorithm>
#include <cmath>

#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "particle/ParticleMath.h"
#include "particle/SystemParticlePool.h"

void from_json(const nlohmann::json& j, ComponentParticlePoolAnimation& animation) {
    json_read::Key(j, "FPS", animation.FPS);
    json_read::Key(j, "Looping", animation.Looping);
    json_read::Key(j, "Frames", animation.FrameCount);
}

namespace {

/// The animation frame for a particle of age `age`. Worked in float so that no age or rate
/// overflows an int; truncated frame numbers are whole, so fmod and min are exact. An
/// animation without frames, or running backwards, holds its first frame.
int AnimationFrame(const ComponentParticlePoolAnimation& animation, float age) {
    if (animation.FrameCount < 1) return 0;
    const float k = std::trunc(age * animation.FPS);
    if (!(k > 0.0f)) return 0;
    const auto frames = static_cast<float>(animation.FrameCount);
    if (animation.Looping) return static_cast<int>(std::fmod(k, frames));
    return static_cast<int>(std::min(k, frames - 1.0f));
}

}  // namespace

bool SystemParticlePoolAnimation::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    const ComponentParticlePoolAnimation* modifier = nullptr;
    const std::function<void(ComponentParticlePool&)> step = [&](ComponentParticlePool& pool) {
        const int columns = particle_math::SheetColumns(pool.Sprite);
        const std::size_t count = std::min(pool.Frames.size(), pool.Ages.size());
        for (std::size_t i = 0; i < count; ++i) {
            pool.Frames[i] =
                particle_math::SheetCell(AnimationFrame(*modifier, pool.Ages[i].x), columns);
        }
    };
    for (const auto& [entity, component] : components) {
        modifier = &component;
        SendMessage(MessageQuery<ComponentParticlePool>(entity, step));
    }
    return false;
}
