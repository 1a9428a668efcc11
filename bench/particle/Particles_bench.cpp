// 100,000 live particles in 10 pools, each pool with the physics, colour and animation
// modifiers: one update through the systems, the same work as a plain loop over the same
// arrays (the reference the system's cost is compared with), and one render's batches.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "engine/MessageSpriteRender.h"
#include "tests/particle/ParticleBus.h"

using json = nlohmann::json;

namespace {

constexpr int kPools = 10;
constexpr std::size_t kPerPool = 10000;
constexpr float kDt = 1.0f / 60.0f;

const json kPhysics{{"Velocity", {{{0, 0}, {1, 2}}, {{0, 1}, {0.5, -1}, {1, 0}}, json::array()}},
                    {"Scale", {{{0, 1}, {1, 0.2}}, {{0, 1}, {1, 0.2}}, json::array()}},
                    {"Follow", true}};
const json kColor{{"Color", {json::array(), {{0, 1}, {1, 0.5}}, json::array(), {{0, 1}, {1, 0}}}}};
const json kAnimation{{"FPS", 12}, {"Frames", 8}, {"Looping", true}};

/// Particles old enough to spread over their lives and long-lived enough not to expire while
/// the benchmark runs, with some motion of their own.
void Fill(ComponentParticlePool& pool, std::vector<ComponentPhysics>& records,
          std::mt19937& random) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (std::size_t i = 0; i < kPerPool; ++i) {
        const float lifetime = 1000.0f + 1000.0f * unit(random);
        pool.Ages.emplace_back(unit(random) * 900.0f, lifetime);
        ComponentTransform& t = pool.Transforms.emplace_back();
        t.translation = {unit(random) * 100.0f, unit(random) * 100.0f, 0.0f};
        pool.Colors.emplace_back(1.0f);
        pool.Frames.emplace_back(0);
        ComponentPhysics& r = records.emplace_back();
        r.Velocity = {unit(random), unit(random), 0.0f};
        r.Acceleration = {0.0f, -1.0f, 0.0f};
    }
}

struct Scene {
    Scene() {
        std::mt19937 random(1);
        for (int p = 0; p < kPools; ++p) {
            const EntityId entity = p + 1;
            const std::string name = "Fx" + std::to_string(p);
            bus.AddJson(entity, "Particle Effect",
                        {{"Name", name}, {"Sprite", {{"Dimensions", {4, 2}}}}});
            bus.AddJson(entity, "Particle Effect Physics", kPhysics);
            bus.AddJson(entity, "Particle Effect Color", kColor);
            bus.AddJson(entity, "Particle Effect Animation", kAnimation);
            bus.AddJson(entity, "Physics", {{"Velocity", {0.5, 0, 0}}});
            Fill(bus.Pool(name), bus.physics->components.at(entity).Particles, random);
        }
        bus.recorder.keepRecords = false;
    }
    ParticleBus bus;
};

void BM_UpdateSystems(benchmark::State& state) {
    Scene scene;
    const MessageUpdate update(kDt);
    for (auto _ : state) scene.bus.Send(update);
    std::size_t live = 0;
    for (const auto& [entity, pool] : scene.bus.pool->components) live += pool.Size();
    if (live != kPools * kPerPool) state.SkipWithError("particles expired during the run");
    state.SetItemsProcessed(state.iterations() * kPools * kPerPool);
}
BENCHMARK(BM_UpdateSystems)->Unit(benchmark::kMillisecond);

/// The same per-particle work on the same arrays, without messages or callbacks.
void BM_UpdatePlainLoop(benchmark::State& state) {
    Scene scene;
    struct Pool {
        ComponentParticlePool* pool;
        ComponentParticlePoolPhysics* physics;
        ComponentParticlePoolColor* color;
        ComponentParticlePoolAnimation* animation;
    };
    std::vector<Pool> pools;
    auto& bus = scene.bus;
    for (int p = 0; p < kPools; ++p) {
        const EntityId e = p + 1;
        pools.push_back({&bus.pool->components.at(e), &bus.physics->components.at(e),
                         &bus.color->components.at(e), &bus.animation->components.at(e)});
    }
    const glm::vec3 follow(0.5f, 0.0f, 0.0f);
    for (auto _ : state) {
        for (Pool& p : pools) {
            ComponentParticlePool& pool = *p.pool;
            for (std::size_t j = 0; j < pool.Ages.size();) {
                pool.Ages[j].x += kDt;
                if (pool.Ages[j].x > pool.Ages[j].y) {
                    pool.RemoveSwapLast(j);
                } else {
                    ++j;
                }
            }
            std::vector<ComponentPhysics>& records = p.physics->Particles;
            for (std::size_t i = 0; i < pool.Size(); ++i) {
                const float t = pool.Ages[i].x / pool.Ages[i].y;
                records[i].Velocity = records[i].Acceleration * kDt + records[i].Velocity;
                glm::vec3 curve;
                for (int a = 0; a < 3; ++a) {
                    curve[a] = EvaluateCurve(p.physics->VelocityCurves[a], t, 0.0f);
                }
                ComponentTransform& transform = pool.Transforms[i];
                transform.translation =
                    (follow + records[i].Velocity + curve) * kDt + transform.translation;
                for (int a = 0; a < 3; ++a) {
                    transform.scale[a] =
                        EvaluateCurve(p.physics->ScaleCurves[a], t, transform.scale[a]);
                }
            }
            for (std::size_t i = 0; i < pool.Size(); ++i) {
                const float t = pool.Ages[i].x / pool.Ages[i].y;
                for (int c = 0; c < 4; ++c) {
                    pool.Colors[i][c] =
                        EvaluateCurve(p.color->ColorCurves[c], t, pool.Colors[i][c]);
                }
            }
            const int columns = static_cast<int>(pool.Sprite.dimensions.x);
            for (std::size_t i = 0; i < pool.Size(); ++i) {
                const int k =
                    static_cast<int>(pool.Ages[i].x * p.animation->FPS) % p.animation->FrameCount;
                pool.Frames[i] = {k % columns, k / columns};
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPools * kPerPool);
}
BENCHMARK(BM_UpdatePlainLoop)->Unit(benchmark::kMillisecond);

/// One render: a batch message per pool, received by a stand-in renderer that reads every
/// element's frame, as a renderer must.
void BM_Render(benchmark::State& state) {
    Scene scene;
    long cells = 0;
    scene.bus.recorder.onMessage = [&](const Message& m) {
        if (m.TypeId() != MessageId::SpriteRenderBatch) return;
        for (const glm::ivec2& f : static_cast<const MessageSpriteRenderBatch&>(m).frames) {
            cells += f.x;
        }
    };
    const MessageRender render;
    for (auto _ : state) scene.bus.Send(render);
    benchmark::DoNotOptimize(cells);
    state.SetItemsProcessed(state.iterations() * kPools * kPerPool);
}
BENCHMARK(BM_Render)->Unit(benchmark::kMicrosecond);

/// Births with every companion: 10 emitters each bursting 1,000 particles with spread and
/// rectangle scatter into a pool with physics, then the same particles expiring.
void BM_BurstAndExpire(benchmark::State& state) {
    ParticleBus bus;
    for (int p = 0; p < kPools; ++p) {
        const EntityId pool = p + 1, emitter = p + 101;
        const std::string name = "Fx" + std::to_string(p);
        bus.AddJson(pool, "Particle Effect", {{"Name", name}});
        bus.AddJson(pool, "Particle Effect Physics", json::object());
        bus.AddJson(emitter, "Transform", json::object());
        bus.AddJson(
            emitter, "Particle Emitter",
            {{name, {{"Count", 1000}, {"Lifetime Minimum", 0.01}, {"Lifetime Maximum", 0.01}}}});
        bus.AddJson(emitter, "Particle Emitter Spread", {{name, {{"Speed Maximum", 4}}}});
        bus.AddJson(emitter, "Particle Emitter Rectangle", {{name, {{"Spawn Area", {4, 4, 0}}}}});
    }
    bus.recorder.keepRecords = false;
    const MessageUpdate update(0.02f);
    for (auto _ : state) {
        state.PauseTiming();
        for (int p = 0; p < kPools; ++p) {
            bus.Send(MessageEmitParticle("Fx" + std::to_string(p), true, p + 101));
        }
        state.ResumeTiming();
        bus.Send(update);  // births
        bus.Send(update);  // expiries
    }
    state.SetItemsProcessed(state.iterations() * kPools * 1000);
}
BENCHMARK(BM_BurstAndExpire)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
