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
            return false;
        }
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

}  // namespace

void SystemParticleEmitter::Update(float dt) {
    // What the two nested callbacks share; they capture only `this` and it, so building the
    // std::functions does not allocate.
    struct Birth {
        const std::function<void(EntityId, ComponentParticlePool&)>* populate;
        std::string_view effect;
        EmitterSettings* settings;
        const ComponentTransform* emitter;
        float dt;
        std::uint64_t born;
    } birth{};

    const std::function<void(EntityId, ComponentParticlePool&)> populate =
        [this, &birth](EntityId, ComponentParticlePool& pool) {
            EmitterSettings& s = *birth.settings;
            // An unlimited burst is refused. A rate that is negative (or not a number) would
            // never drain the accumulator, so it counts as a burst.
            const float rate = s.SpawnRate > 0.0f ? s.SpawnRate : 0.0f;
            if (s.Count == 0 && rate == 0.0f) return;
            s.accumulator += birth.dt;
            while (s.accumulator >= rate && birth.born < kMaxBirthsPerUpdate) {
                s.accumulator -= rate;
                if (s.Count != 0 && s.emitted >= s.Count) {
                    s.Start = false;
                    break;
                }
                Append(pool, *birth.emitter, s, generator);
                ++s.emitted;
                ++birth.born;
            }
        };
    const std::function<void(ComponentTransform&)> placed = [this, &birth](ComponentTransform& t) {
        birth.emitter = &t;
        SendMessage(MessageQueryParticlePool(birth.effect, *birth.populate));
    };

    for (auto& [entity, emitter] : components) {
        for (auto& [name, settings] : emitter.effects) {
            if (!settings.Start) continue;
            birth = Birth{&populate, name, &settings, nullptr, dt, 0};
            SendMessage(MessageQuery<ComponentTransform>(entity, placed));
            if (birth.born > 0) SendMessage(MessagePopulateParticlePool(entity, name, birth.born));
        }
    }
}
