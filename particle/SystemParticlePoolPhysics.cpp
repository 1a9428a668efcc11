#include "particle/SystemParticlePoolPhysics.h"

#include <algorithm>

#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "particle/ParticleMath.h"
#include "particle/SystemParticlePool.h"

void from_json(const nlohmann::json& j, ComponentParticlePoolPhysics& physics) {
    ReadCurves(j, "Velocity", physics.VelocityCurves);
    ReadCurves(j, "Scale", physics.ScaleCurves);
    json_read::Key(j, "Follow", physics.Follow);
}

bool SystemParticlePoolPhysics::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::PopulateParticlePool: {
            const auto& populate = static_cast<const MessagePopulateParticlePool&>(message);
            const std::function<void(EntityId, ComponentParticlePool&)> grow =
                [this](EntityId poolEntity, ComponentParticlePool& pool) {
                    auto it = components.find(poolEntity);
                    // One zero record per newborn. Matching the pool's size rather than adding
                    // the count also realigns records that lagged the pool (a component added
                    // after particles were born).
                    if (it != components.end()) it->second.Particles.resize(pool.Size());
                };
            SendMessage(MessageQueryParticlePool(populate.name, grow));
            return false;
        }
        case MessageId::DeleteParticlePool: {
            const auto& deleted = static_cast<const MessageDeleteParticlePool&>(message);
            auto it = components.find(deleted.entity);
            if (it == components.end()) return false;
            std::vector<ComponentPhysics>& records = it->second.Particles;
            for (std::uint64_t index : deleted.indices) {
                if (index >= records.size()) continue;
                records[index] = records.back();
                records.pop_back();
            }
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

glm::vec3 SystemParticlePoolPhysics::FollowVelocity(EntityId entity) {
    glm::vec3 velocity{0.0f};
    const std::function<void(ComponentPhysics&)> read = [&velocity](ComponentPhysics& physics) {
        velocity = physics.Velocity;
    };
    SendMessage(MessageQuery<ComponentPhysics>(entity, read));
    if (velocity.x != 0.0f || velocity.y != 0.0f) return velocity;
    // A pool entity that does not move itself may ride on a parent that does.
    EntityId parent = 0;
    const std::function<void(ComponentTransform&)> readParent =
        [&parent](ComponentTransform& transform) { parent = transform.parent; };
    SendMessage(MessageQuery<ComponentTransform>(entity, readParent));
    if (parent != 0) SendMessage(MessageQuery<ComponentPhysics>(parent, read));
    return velocity;
}

void SystemParticlePoolPhysics::Update(float dt) {
    ComponentParticlePoolPhysics* modifier = nullptr;
    EntityId entity = 0;
    const std::function<void(ComponentParticlePool&)> step = [&](ComponentParticlePool& pool) {
        const glm::vec3 follow = modifier->Follow ? FollowVelocity(entity) : glm::vec3(0.0f);
        const std::array<ParticleCurve, 3>& velocityCurves = modifier->VelocityCurves;
        const std::array<ParticleCurve, 3>& scaleCurves = modifier->ScaleCurves;
        const bool anyScale =
            !scaleCurves[0].empty() || !scaleCurves[1].empty() || !scaleCurves[2].empty();
        std::vector<ComponentPhysics>& records = modifier->Particles;
        const std::size_t count =
            std::min({records.size(), pool.Transforms.size(), pool.Ages.size()});
        for (std::size_t i = 0; i < count; ++i) {
            ComponentPhysics& record = records[i];
            ComponentTransform& transform = pool.Transforms[i];
            const float t = particle_math::LifeFraction(pool.Ages[i]);
            record.Velocity = record.Acceleration * dt + record.Velocity;
            glm::vec3 curve;
            for (int axis = 0; axis < 3; ++axis) {
                curve[axis] = EvaluateCurve(velocityCurves[axis], t, 0.0f);
            }
            transform.translation = (follow + record.Velocity + curve) * dt + transform.translation;
            if (!anyScale) continue;
            for (int axis = 0; axis < 3; ++axis) {
                transform.scale[axis] = EvaluateCurve(scaleCurves[axis], t, transform.scale[axis]);
            }
        }
    };
    for (auto& [poolEntity, component] : components) {
        modifier = &component;
        entity = poolEntity;
        SendMessage(MessageQuery<ComponentParticlePool>(poolEntity, step));
    }
}
