#include "particle/SystemParticlePoolAnimation.h"

#include <algorithm>
#include <cmath>

#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "particle/ParticleMath.h"
#include "particle/SystemParticlePool.h"

void from_json(const nlohmann::json& j, ComponentParticlePoolAnimation& animation) {
    json_read::Key(j, "FPS", animation.FPS);
    if (!std::isfinite(animation.FPS)) {
        throw nlohmann::json::out_of_range::create(
            406, "\"FPS\": " + j.at("FPS").dump() + " is beyond a float", &j);
    }
    json_read::Key(j, "Looping", animation.Looping);
    json_read::Key(j, "Frames", animation.FrameCount);
}

namespace {

/// The animation frame for a particle of age `age`. An animation without frames, or running
/// backwards, holds its first frame; a frame number beyond int (a huge age or rate) is taken
/// modulo or clamped in float, where whole numbers stay exact, instead of overflowing.
int AnimationFrame(const ComponentParticlePoolAnimation& animation, float age) {
    if (animation.FrameCount < 1) return 0;
    const float k = age * animation.FPS;
    if (!(k >= 1.0f)) return 0;
    // An infinite frame number (a huge age times a huge rate) has no frame of its own.
    if (std::isinf(k)) return animation.Looping ? 0 : animation.FrameCount - 1;
    if (k < 2147483648.0f) {
        const int whole = static_cast<int>(k);
        return animation.Looping ? whole % animation.FrameCount
                                 : std::min(whole, animation.FrameCount - 1);
    }
    const auto frames = static_cast<float>(animation.FrameCount);
    if (animation.Looping) return static_cast<int>(std::fmod(std::trunc(k), frames));
    return animation.FrameCount - 1;
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
