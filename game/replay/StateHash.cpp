#include "game/replay/StateHash.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/ComponentSprite.h"
#include "engine/Engine.h"
#include "engine/ManagerState.h"
#include "engine/MessageComponent.h"
#include "engine/SystemTransform.h"
#include "game/bullets/SystemBulletBehavior.h"
#include "game/camera/SystemCameraControl.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "game/player/SystemPlayerHealth.h"
#include "particle/SystemParticlePool.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemCollisionCircle.h"
#include "physics2d/SystemPhysics.h"

void StateHasher::Bytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 1099511628211ull;
    }
}

void StateHasher::Int(std::int64_t value) {
    // Little-endian bytes whatever the machine, so the hash is the same everywhere.
    unsigned char bytes[8];
    const auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    Bytes(bytes, sizeof bytes);
}

void StateHasher::Float(float value) {
    if (value == 0.0f) value = 0.0f;
    if (std::isnan(value)) value = std::numeric_limits<float>::quiet_NaN();
    Int(std::bit_cast<std::uint32_t>(value));
}

void StateHasher::String(std::string_view text) {
    Int(static_cast<std::int64_t>(text.size()));
    Bytes(text.data(), text.size());
}

std::string StateHasher::Hex() const {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 0; i < 16; ++i) text[15 - i] = kDigits[(hash >> (4 * i)) & 0xf];
    return text;
}

namespace {

// Feeds every component of type C of the current state, in entity id order.
template <class C>
void HashTable(Engine& engine, StateHasher& h, const std::function<void(const C&)>& fields) {
    std::vector<std::pair<EntityId, const C*>> rows;
    std::function<void(std::unordered_map<EntityId, C>&)> collect =
        [&](std::unordered_map<EntityId, C>& table) {
            for (const auto& [id, component] : table) rows.emplace_back(id, &component);
        };
    engine.HandleMessage(MessageQueryContainer<C>(collect));
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    h.String(C::kName);
    h.Int(static_cast<std::int64_t>(rows.size()));
    for (const auto& [id, component] : rows) {
        h.Int(id);
        fields(*component);
    }
}

void HashTransform(StateHasher& h, const ComponentTransform& t) {
    h.Vec(t.translation);
    h.Vec(t.rotation);
    h.Vec(t.scale);
    h.Int(t.parent);
}

void HashSprite(StateHasher& h, const ComponentSprite& s) {
    h.String(s.texture);
    h.Vec(s.color);
    h.Vec(s.index);
}

// One line per component type whose values the game changes while it runs. Components of
// systems not listed here still count by which entities have them.
void HashComponents(Engine& engine, StateHasher& h) {
    HashTable<ComponentTransform>(engine, h,
                                  [&](const ComponentTransform& t) { HashTransform(h, t); });
    HashTable<ComponentPhysics>(engine, h, [&](const ComponentPhysics& p) {
        h.Vec(p.Acceleration);
        h.Vec(p.Velocity);
        h.Vec(p.RotationalAcceleration);
        h.Vec(p.RotationalVelocity);
        h.Vec(p.PreviousTranslation);
    });
    HashTable<ComponentCollisionBox>(engine, h, [&](const ComponentCollisionBox& b) {
        h.Vec(b.Size);
        h.Vec(b.Penetration);
    });
    HashTable<ComponentCollisionCircle>(
        engine, h, [&](const ComponentCollisionCircle& c) { h.Float(c.Radius); });
    HashTable<ComponentBulletBehavior>(engine, h, [&](const ComponentBulletBehavior& b) {
        h.Float(b.LifeTime);
        h.Bool(b.AnimationStarted);
    });
    HashTable<ComponentCameraControl>(engine, h, [&](const ComponentCameraControl& c) {
        h.Bool(c.Shake);
        h.Bool(c.freecam);
        h.Vec(c.BaseShakeAmplitude);
    });
    HashTable<ComponentPlayerControl>(engine, h, [&](const ComponentPlayerControl& c) {
        h.Bool(c.paused);
        h.Bool(c.grounded);
        h.Int(static_cast<int>(c.previousState));
        h.Int(static_cast<int>(c.state));
        h.Float(c.stateTime);
        h.Float(c.savedGravity);
        h.Bool(c.leftHeld);
        h.Bool(c.rightHeld);
        h.Bool(c.upHeld);
        h.Bool(c.downHeld);
        h.Bool(c.noClip);
        h.Float(c.sequenceTime);
    });
    HashTable<ComponentPlayerCollider>(engine, h, [&](const ComponentPlayerCollider& c) {
        h.Bool(c.timePenaltyPending);
        h.Bool(c.invincible);
        h.Bool(c.hurt);
        h.Bool(c.deathWallHit);
    });
    HashTable<ComponentPlayerHealth>(engine, h, [&](const ComponentPlayerHealth& c) {
        h.Int(c.MaxHealth);
        h.Int(c.Health);
    });
    HashTable<ComponentSprite>(engine, h, [&](const ComponentSprite& s) { HashSprite(h, s); });
    HashTable<ComponentParticlePool>(engine, h, [&](const ComponentParticlePool& pool) {
        h.Int(static_cast<std::int64_t>(pool.Size()));
        for (std::size_t i = 0; i < pool.Size(); ++i) {
            h.Vec(pool.Ages[i]);
            HashTransform(h, pool.Transforms[i]);
            h.Vec(pool.Colors[i]);
            h.Vec(pool.Frames[i]);
        }
    });
}

}  // namespace

std::string HashCurrentState(Engine& engine, ManagerState& states) {
    StateHasher h;
    const std::string& name = states.CurrentState();
    h.String(name);
    if (name.empty() || !states.HasState(name)) return h.Hex();
    State& state = states.GetState(name);

    std::vector<std::pair<EntityId, std::string>> entities(state.entities.entityNames.begin(),
                                                           state.entities.entityNames.end());
    std::sort(entities.begin(), entities.end());
    h.Int(state.entities.nextEntityId);
    h.Int(static_cast<std::int64_t>(entities.size()));
    for (const auto& [id, file] : entities) {
        h.Int(id);
        h.String(file);
    }
    for (const auto& system : state.systems) {
        std::vector<EntityId> ids = system->Entities();
        std::sort(ids.begin(), ids.end());
        h.String(system->Name());
        h.Int(static_cast<std::int64_t>(ids.size()));
        for (const EntityId id : ids) h.Int(id);
    }
    HashComponents(engine, h);
    return h.Hex();
}
