// One frame's collision passes through a real engine and state, against a plain loop that
// runs the same pair tests on the same data held in vectors.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "physics2d/Overlap.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemCollisionCircle.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

namespace {

constexpr float kWorld = 200.0f;
const std::string kState = "Bench";

struct Scatter {
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> sizes;
};

/// Colliders spread over a 200 x 200 area, a few touching each other, as in a level.
Scatter MakeScatter(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> where(-kWorld / 2, kWorld / 2);
    std::uniform_real_distribution<float> size(0.25f, 1.5f);
    Scatter scatter;
    for (int i = 0; i < count; ++i) {
        scatter.positions.push_back({where(random), where(random)});
        scatter.sizes.push_back({size(random), size(random)});
    }
    return scatter;
}

/// An engine with one current state holding `boxes` boxes and `circles` circles.
struct Level {
    Level(const Scatter& boxes, const Scatter& circles) {
        assets.Scene(kState, nlohmann::json::object());
        std::vector<std::unique_ptr<SystemBase>> systems;
        systems.push_back(std::make_unique<SystemCollisionBox>());
        systems.push_back(std::make_unique<SystemCollisionCircle>());
        systems.push_back(std::make_unique<SystemTransform>());
        engine = std::make_unique<TestEngine>(std::move(systems));
        engine->Enter(kState);
        EntityId id = 1;
        for (std::size_t i = 0; i < boxes.positions.size(); ++i, ++id) {
            Place(id, boxes.positions[i]);
            engine->Send(MessageAddComponent<ComponentCollisionBox>(
                kState, id, ComponentCollisionBox{boxes.sizes[i], {0.0f, 0.0f}}));
        }
        for (std::size_t i = 0; i < circles.positions.size(); ++i, ++id) {
            Place(id, circles.positions[i]);
            engine->Send(MessageAddComponent<ComponentCollisionCircle>(
                kState, id, ComponentCollisionCircle{circles.sizes[i].x}));
        }
        engine->recorder->Clear();
    }
    void Place(EntityId id, glm::vec2 at) {
        ComponentTransform transform;
        transform.translation = {at.x, at.y, 0.0f};
        engine->Send(MessageAddComponent<ComponentTransform>(kState, id, transform));
    }
    SystemBase& System(std::size_t index) {
        return *engine->states->GetState(kState).systems[index];
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> engine;
};

void BM_BoxPassEngine(benchmark::State& state) {
    Level level(MakeScatter(static_cast<int>(state.range(0)), 1), {});
    // Only the box system acts on an update in this state.
    const MessageUpdate update(1.0f / 60.0f);
    for (auto _ : state) level.engine->Send(update);
    state.counters["messages"] = static_cast<double>(level.engine->recorder->records.size()) /
                                 static_cast<double>(state.iterations());
    level.engine->recorder->Clear();
}

void BM_BoxPassPlainLoop(benchmark::State& state) {
    const Scatter scatter = MakeScatter(static_cast<int>(state.range(0)), 1);
    // Laid out as the engine's tables would hand them over, copied once per frame.
    std::vector<glm::vec2> penetration(scatter.positions.size());
    std::vector<std::pair<int, int>> contacts;
    for (auto _ : state) {
        contacts.clear();
        const std::size_t n = scatter.positions.size();
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = i + 1; j < n; ++j) {
                if (overlap::Boxes(scatter.positions[i], scatter.sizes[i], scatter.positions[j],
                                   scatter.sizes[j], penetration[i], penetration[j])) {
                    contacts.emplace_back(static_cast<int>(i), static_cast<int>(j));
                    contacts.emplace_back(static_cast<int>(j), static_cast<int>(i));
                }
            }
        }
        benchmark::DoNotOptimize(contacts.data());
        benchmark::DoNotOptimize(penetration.data());
    }
    state.counters["messages"] = static_cast<double>(contacts.size());
}

void BM_CirclePassesEngine(benchmark::State& state) {
    Level level(MakeScatter(500, 1), MakeScatter(static_cast<int>(state.range(0)), 2));
    const MessageUpdate update(1.0f / 60.0f);
    SystemBase& circles = level.System(1);
    // Circle-circle then circle-box, as the circle system runs them on an update.
    for (auto _ : state) circles.HandleMessage(update);
}

}  // namespace

BENCHMARK(BM_BoxPassEngine)->Arg(100)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoxPassPlainLoop)->Arg(100)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CirclePassesEngine)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
