#include "particle/SystemParticleEmitterSpread.h"

#include <algorithm>
#include <cmath>

#include "engine/JsonRead.h"
#include "particle/ParticleMath.h"
#include "particle/SystemParticlePool.h"
#include "particle/SystemParticlePoolPhysics.h"

void from_json(const nlohmann::json& j, SpreadSettings& settings) {
    json_read::RequireObject(j);
    json_read::Key(j, "Speed Minimum", settings.SpeedMinimum);
    json_read::Key(j, "Speed Maximum", settings.SpeedMaximum);
    json_read::Key(j, "Acceleration Minimum", settings.AccelerationMinimum);
    json_read::Key(j, "Acceleration Maximum", settings.AccelerationMaximum);
    json_read::Vec<3>(j, "Directional Acceleration Minimum",
                      settings.DirectionalAccelerationMinimum);
    json_read::Vec<3>(j, "Directional Acceleration Maximum",
                      settings.DirectionalAccelerationMaximum);
    json_read::Vec<3>(j, "Angle Minimum", settings.AngleMinimum);
    json_read::Vec<3>(j, "Angle Maximum", settings.AngleMaximum);
}

void from_json(const nlohmann::json& j, ComponentParticleEmitterSpread& spread) {
    if (!j.is_object()) return;
    for (const auto& [name, value] : j.items()) from_json(value, spread.effects[name]);
}

bool SystemParticleEmitterSpread::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::PopulateParticlePool) {
        Launch(static_cast<const MessagePopulateParticlePool&>(message));
        return false;
    }
    return System::HandleMessage(message);
}

void SystemParticleEmitterSpread::Launch(const MessagePopulateParticlePool& populate) {
    auto spread = components.find(populate.entity);
    if (spread == components.end()) return;
    auto found = spread->second.effects.find(populate.name);
    if (found == spread->second.effects.end()) return;
    const SpreadSettings& d = found->second;
    using particle_math::Uniform;

    ComponentParticlePool* pool = nullptr;
    const std::function<void(ComponentParticlePoolPhysics&)> launch =
        [&](ComponentParticlePoolPhysics& physics) {
            const std::size_t size = pool->Transforms.size();
            const std::size_t first = size - std::min<std::uint64_t>(populate.count, size);
            // Records can lag the pool (no pool physics system before this one): launch only
            // the particles that have one.
            const std::size_t end = std::min(size, physics.Particles.size());
            for (std::size_t k = first; k < end; ++k) {
                glm::vec3& rotation = pool->Transforms[k].rotation;
                for (int axis = 0; axis < 3; ++axis) {
                    rotation[axis] +=
                        Uniform(generator, d.AngleMinimum[axis], d.AngleMaximum[axis]);
                }
                const glm::vec3 direction(std::cos(rotation.z) * std::cos(rotation.y),
                                          std::sin(rotation.z) * std::cos(rotation.y),
                                          std::sin(rotation.y));
                ComponentPhysics& record = physics.Particles[k];
                record.Velocity += Uniform(generator, d.SpeedMinimum, d.SpeedMaximum) * direction;
                glm::vec3 directional;
                for (int axis = 0; axis < 3; ++axis) {
                    directional[axis] = Uniform(generator, d.DirectionalAccelerationMinimum[axis],
                                                d.DirectionalAccelerationMaximum[axis]);
                }
                const float acceleration =
                    Uniform(generator, d.AccelerationMinimum, d.AccelerationMaximum);
                record.Acceleration += acceleration * direction + directional;
            }
        };
    const std::function<void(EntityId, ComponentParticlePool&)> reached =
        [&](EntityId poolEntity, ComponentParticlePool& p) {
            pool = &p;
            SendMessage(MessageQuery<ComponentParticlePoolPhysics>(poolEntity, launch));
        };
    SendMessage(MessageQueryParticlePool(populate.name, reached));
}
