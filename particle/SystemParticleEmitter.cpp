#include "particle/SystemParticleEmitter.h"

#include <cmath>
#include <string>

#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "particle/ParticleMath.h"
#include "particle/SystemParticlePool.h"

namespace {

using json = nlohmann::json;

/// Births one effect may give in one update. Bounds the work and memory of a huge burst or of
/// a spawn rate too small for the accumulator to make progress; the rest follow next update.
constexpr std::uint64_t kMaxBirthsPerUpdate = 65536;

/// "Count": integers and floating-point numbers (truncated), never booleans or negatives.
void ReadCount(const json& j, std::uint64_t& count) {
    auto it = j.find("Count");
    if (it == j.end()) return;
    if (it->is_number_unsigned()) {
        count = it->get<std::uint64_t>();
    } else if (it->is_number_integer() || it->is_number_float()) {
        const double value = it->get<double>();
        // 2^64 as a double; anything from there up would not convert.
        if (!(value >= 0.0 && value < 18446744073709551616.0)) {
            throw json::out_of_range::create(
                406, "\"Count\" must be a number from 0 to 2^64, but is " + it->dump(), &*it);
        }
        count = static_cast<std::uint64_t>(value);
    } else {
        throw json::type_error::create(
            302, std::string("type must be number, but is ") + it->type_name(), &*it);
    }
}

}  // namespace

void from_json(const json& j, EmitterSettings& settings) {
    json_read::RequireObject(j);
    if (!j.is_object()) return;
    json_read::Key(j, "Start", settings.Start);
    json_read::Key(j, "Lifetime Minimum", settings.LifetimeMinimum);
    json_read::Key(j, "Lifetime Maximum", settings.LifetimeMaximum);
    ReadCount(j, settings.Count);
    json_read::Key(j, "Spawn Rate", settings.SpawnRate);
    if (settings.SpawnRate < 0.0f) {
        throw json::out_of_range::create(406, "\"Spawn Rate\" must not be negative", &j);
    }
    json_read::Key(j, "Scale Minimum", settings.ScaleMinimum);
    json_read::Key(j, "Scale Maximum", settings.ScaleMaximum);
    json_read::Vec<3>(j, "Scale", settings.Scale);
    json_read::Key(j, "Index Minimum", settings.IndexMinimum);
    json_read::Key(j, "Index Maximum", settings.IndexMaximum);
    json_read::Vec<4>(j, "Color Minimum", settings.ColorMinimum);
    json_read::Vec<4>(j, "Color Maximum", settings.ColorMaximum);
    json_read::Vec<3>(j, "Translation Offset", settings.TranslationOffset);
}

void from_json(const json& j, ComponentParticleEmitter& emitter) {
    if (!j.is_object()) return;
    for (const auto& [name, value] : j.items()) from_json(value, emitter.effects[name]);
}

bool SystemParticleEmitter::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::EmitParticle: {
            const auto& emit = static_cast<const MessageEmitParticle&>(message);
            auto emitter = components.find(emit.Entity);
            if (emitter == components.end()) return false;
            auto settings = emitter->second.effects.find(emit.Effect);
            if (settings == emitter->second.effects.end()) return false;
            settings->second.Start = emit.Start;
            settings->second.emitted = 0;
            // The entity may be destroyed before the next births; they then happen here.
            if (emit.Start) Place(emit.Entity);
            return false;
        }
        case MessageId::DestroyEntity:
            LastBirths(static_cast<const MessageDestroyEntity&>(message).entity);
            return System::HandleMessage(message);
        default:
            return System::HandleMessage(message);
    }
}

namespace {

/// Appends one particle to `pool`, drawing lifetime, size, colour and frame in that order.
void Append(ComponentParticlePool& pool, const ComponentTransform& emitter,
            const EmitterSettings& settings, std::mt19937& generator) {
    using particle_math::Uniform;
    const float lifetime = Uniform(generator, settings.LifetimeMinimum, settings.LifetimeMaximum);
    pool.Ages.emplace_back(0.0f, lifetime);

    ComponentTransform& transform = pool.Transforms.emplace_back(emitter);
    transform.translation += settings.TranslationOffset;
    transform.scale =
        Uniform(generator, settings.ScaleMinimum, settings.ScaleMaximum) * settings.Scale;

    glm::vec4 color;
    for (int c = 0; c < 4; ++c) {
        color[c] = Uniform(generator, settings.ColorMinimum[c], settings.ColorMaximum[c]);
    }
    pool.Colors.push_back(color);

    const int frame =
        particle_math::UniformInt(generator, settings.IndexMinimum, settings.IndexMaximum);
    pool.Frames.push_back(
        particle_math::SheetCell(frame, particle_math::SheetColumns(pool.Sprite)));
}

/// The births one update of `dt` gives effect `s` at `emitter`; returns how many.
std::uint64_t GiveBirths(ComponentParticlePool& pool, EmitterSettings& s,
                         const ComponentTransform& emitter, float dt, std::mt19937& generator) {
    // An unlimited burst is refused. A rate that is negative (or not a number) would never
    // drain the accumulator, so it counts as a burst.
    const float rate = s.SpawnRate > 0.0f ? s.SpawnRate : 0.0f;
    if (s.Count == 0 && rate == 0.0f) return 0;
    std::uint64_t born = 0;
    s.accumulator += dt;
    while (s.accumulator >= rate && born < kMaxBirthsPerUpdate) {
        s.accumulator -= rate;
        if (s.Count != 0 && s.emitted >= s.Count) {
            s.Start = false;
            break;
        }
        Append(pool, emitter, s, generator);
        ++s.emitted;
        ++born;
    }
    return born;
}

}  // namespace

void SystemParticleEmitter::Update(float dt) {
    // What the two nested callbacks share; they capture only `this` and it, so building the
    // std::functions does not allocate.
    struct Birth {
        const std::function<void(EntityId, ComponentParticlePool&)>* populate;
        std::string_view effect;
        EmitterSettings* settings;
        const ComponentTransform* emitter;
        ComponentParticleEmitter* owner;
        float dt;
        std::uint64_t born;
    } birth{};

    const std::function<void(EntityId, ComponentParticlePool&)> populate =
        [this, &birth](EntityId, ComponentParticlePool& pool) {
            birth.born = GiveBirths(pool, *birth.settings, *birth.emitter, birth.dt, generator);
        };
    const std::function<void(ComponentTransform&)> placed = [this, &birth](ComponentTransform& t) {
        birth.emitter = &t;
        birth.owner->lastPlacement = t;
        birth.owner->placed = true;
        SendMessage(MessageQueryParticlePool(birth.effect, *birth.populate));
    };

    for (auto& [entity, emitter] : components) {
        for (auto& [name, settings] : emitter.effects) {
            if (!settings.Start) continue;
            birth = Birth{&populate, name, &settings, nullptr, &emitter, dt, 0};
            SendMessage(MessageQuery<ComponentTransform>(entity, placed));
            if (birth.born > 0) SendMessage(MessagePopulateParticlePool(entity, name, birth.born));
        }
    }
}

void SystemParticleEmitter::Place(EntityId entity) {
    auto it = components.find(entity);
    if (it == components.end()) return;
    SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
        it->second.lastPlacement = t;
        it->second.placed = true;
    }));
}

void SystemParticleEmitter::LastBirths(EntityId entity) {
    auto it = components.find(entity);
    if (it == components.end() || !it->second.placed) return;
    // Copied: the entity's transform is already gone, and the sends below may reach this table.
    const ComponentTransform at = it->second.lastPlacement;
    for (auto& [name, settings] : it->second.effects) {
        if (!settings.Start) continue;
        std::uint64_t born = 0;
        EmitterSettings* s = &settings;
        SendMessage(MessageQueryParticlePool(name, [&](EntityId, ComponentParticlePool& pool) {
            born = GiveBirths(pool, *s, at, 0.0f, generator);
        }));
        s->Start = false;
        // Delivered before the destruction reaches the shaping systems after this one, so a
        // burst is still spread and scattered by the entity's own settings.
        if (born > 0) SendMessage(MessagePopulateParticlePool(entity, name, born));
    }
}
