// Delivery through a roster the size of the game's, checkpoint copies and scene loading.
#include <benchmark/benchmark.h>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "tests/support/SyntheticRoster.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

constexpr int kSystems = 53;
constexpr int kTransformIndex = 5;  // the 6th system, as in the game's roster

/// An entity of five components: a transform and four fillers.
json FiveComponents() {
    return {{"Transform", {{"Translation", {1, 2, 3}}}},
            {"Filler Aa", {{"Value", 1}}},
            {"Filler Ab", {{"Value", 2}}},
            {"Filler Ac", {{"Value", 3}}},
            {"Filler Ad", {{"Value", 4}}}};
}

json SceneOf(int entities) {
    json scene = json::object();
    for (int i = 0; i < entities; ++i) scene["e" + std::to_string(i)] = "Thing";
    return scene;
}

void BM_UpdateDelivery(benchmark::State& state) {
    TempAssets assets;
    assets.Scene("Level", json::object());
    TestEngine test(MakeSyntheticRoster(kSystems, kTransformIndex));
    test.Enter("Level");
    const MessageUpdate update(0.016f);
    for (auto _ : state) benchmark::DoNotOptimize(test.engine.HandleMessage(update));
}
BENCHMARK(BM_UpdateDelivery);

void BM_QueryTransformAtSixthSystem(benchmark::State& state) {
    TempAssets assets;
    assets.Entity("Thing", FiveComponents());
    assets.Scene("Level", {{"a", "Thing"}});
    TestEngine test(MakeSyntheticRoster(kSystems, kTransformIndex));
    test.Enter("Level");
    float sum = 0.0f;
    const std::function<void(ComponentTransform&)> read = [&sum](ComponentTransform& t) {
        sum += t.translation.x;
    };
    for (auto _ : state) {
        test.engine.HandleMessage(MessageQuery<ComponentTransform>(1, read));
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_QueryTransformAtSixthSystem);

void BM_CheckpointSave(benchmark::State& state) {
    TempAssets assets;
    assets.Entity("Thing", FiveComponents());
    assets.Scene("Level", SceneOf(1000));
    TestEngine test(MakeSyntheticRoster(kSystems, kTransformIndex));
    test.Enter("Level");
    for (auto _ : state) test.engine.HandleMessage(MessageTrigger("Checkpoint", true));
}
BENCHMARK(BM_CheckpointSave)->Unit(benchmark::kMillisecond);

void BM_SceneLoad(benchmark::State& state) {
    TempAssets assets;
    assets.Entity("Thing", FiveComponents());
    assets.Scene("Level", SceneOf(1000));
    assets.Scene("Home", json::object());
    TestEngine test(MakeSyntheticRoster(kSystems, kTransformIndex));
    test.Enter("Home");
    for (auto _ : state) {
        // Creating the state, loading its 1,000 entities from files and entering it.
        test.Enter("Level");
        state.PauseTiming();
        test.Enter("Home");
        test.engine.HandleMessage(MessageDestroyState("Level"));
        test.Frame();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SceneLoad)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
