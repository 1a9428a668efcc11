#pragma once

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "particle/VornParticle.h"
#include "physics2d/SystemPhysics.h"
#include "tests/support/RecordingBus.h"

/// Answers physics queries without the physics library: the particle systems only read it.
class PhysicsStore : public System<ComponentPhysics, PhysicsStore> {};

/// The particle systems in the game's dispatch order on a recording bus (this library cannot
/// see the game's roster), with helpers that read and fill pools.
class ParticleBus : public RecordingBus {
public:
    ParticleBus() {
        Add<SystemTransform>();
        Add<PhysicsStore>();
        pool = &Add<SystemParticlePool>();
        physics = &Add<SystemParticlePoolPhysics>();
        color = &Add<SystemParticlePoolColor>();
        animation = &Add<SystemParticlePoolAnimation>();
        emitter = &Add<SystemParticleEmitter>();
        spread = &Add<SystemParticleEmitterSpread>();
        rectangle = &Add<SystemParticleEmitterRectangle>();
    }

    /// Adds the component `name` read from `value` to `entity`, as entity files do.
    void AddJson(EntityId entity, const std::string& name, const nlohmann::json& value) {
        Send(MessageAddComponentJSON("", entity, value, name));
    }

    void Update(float dt) { Send(MessageUpdate(dt)); }
    void Render() { Send(MessageRender()); }

    /// The pool named `name`; a missing pool fails the test and throws, ending it.
    ComponentParticlePool& Pool(const std::string& name) {
        ComponentParticlePool* found = FindPool(name);
        if (!found) {
            ADD_FAILURE() << "no particle pool named \"" << name << "\"";
            throw std::runtime_error("no particle pool named " + name);
        }
        return *found;
    }
    /// The pool named `name`, or null where absence is what the test expects.
    ComponentParticlePool* FindPool(const std::string& name) {
        ComponentParticlePool* found = nullptr;
        const MessageQueryParticlePool::Callback find = [&](EntityId, ComponentParticlePool& p) {
            found = &p;
        };
        Send(MessageQueryParticlePool(name, find));
        return found;
    }

    /// Appends `count` particles with lifetime `lifetime` and announces them as an emitter does.
    void Populate(EntityId emitterEntity, const std::string& name, std::size_t count,
                  float lifetime) {
        ComponentParticlePool& p = Pool(name);
        for (std::size_t i = 0; i < count; ++i) {
            p.Ages.emplace_back(0.0f, lifetime);
            p.Transforms.emplace_back();
            p.Colors.emplace_back(1.0f);
            p.Frames.emplace_back(0);
        }
        Send(MessagePopulateParticlePool(emitterEntity, name, count));
    }

    SystemParticlePool* pool = nullptr;
    SystemParticlePoolPhysics* physics = nullptr;
    SystemParticlePoolColor* color = nullptr;
    SystemParticlePoolAnimation* animation = nullptr;
    SystemParticleEmitter* emitter = nullptr;
    SystemParticleEmitterSpread* spread = nullptr;
    SystemParticleEmitterRectangle* rectangle = nullptr;
};
