#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "particle/VornParticle.h"
#include "physics2d/SystemPhysics.h"

/// Answers physics queries without the physics library: the particle systems only read it.
class PhysicsStore : public System<ComponentPhysics, PhysicsStore> {};

/// A one-state bus: systems in the game's order, each handed the bus as its send callback,
/// and a hook that sees every message no system consumed.
class ParticleBus {
public:
    ParticleBus() {
        Add<SystemTransform>();
        Add<PhysicsStore>();
        pool = &Add<SystemParticlePool>();
        physics = &Add<SystemParticlePoolPhysics>();
        Add<SystemParticlePoolColor>();
        Add<SystemParticlePoolAnimation>();
        emitter = &Add<SystemParticleEmitter>();
        spread = &Add<SystemParticleEmitterSpread>();
        rectangle = &Add<SystemParticleEmitterRectangle>();
    }

    bool Send(const Message& message) {
        for (auto& system : systems) {
            if (system->HandleMessage(message)) return true;
        }
        if (onMessage) onMessage(message);
        return false;
    }

    template <class S>
    S& Add() {
        auto system = std::make_unique<S>();
        system->SendMessage = [this](const Message& message) { return Send(message); };
        S& added = *system;
        systems.push_back(std::move(system));
        return added;
    }

    /// Adds the component `name` read from `value` to `entity`, as entity files do.
    void AddJson(EntityId entity, const std::string& name, const nlohmann::json& value) {
        Send(MessageAddComponentJSON("", entity, value, name));
    }

    void Update(float dt) { Send(MessageUpdate(dt)); }
    void Render() { Send(MessageRender()); }

    /// The pool named `name`, or null.
    ComponentParticlePool* Pool(const std::string& name) {
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
        ComponentParticlePool& p = *Pool(name);
        for (std::size_t i = 0; i < count; ++i) {
            p.Ages.emplace_back(0.0f, lifetime);
            p.Transforms.emplace_back();
            p.Colors.emplace_back(1.0f);
            p.Frames.emplace_back(0);
        }
        Send(MessagePopulateParticlePool(emitterEntity, name, count));
    }

    std::vector<std::unique_ptr<SystemBase>> systems;
    std::function<void(const Message&)> onMessage;
    SystemParticlePool* pool = nullptr;
    SystemParticlePoolPhysics* physics = nullptr;
    SystemParticleEmitter* emitter = nullptr;
    SystemParticleEmitterSpread* spread = nullptr;
    SystemParticleEmitterRectangle* rectangle = nullptr;
};
