// One update of SystemAnimation over many playing entities, against a plain loop that advances
// the same clocks and picks the same cells. Sprite queries are answered from a plain table, so
// the ratio shows what the message bus and the component bookkeeping cost per entity.
#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/ComponentSprite.h"
#include "engine/MessageFrame.h"
#include "services/animation/VornAnimation.h"

namespace {

constexpr int kCells = 8;
constexpr float kRate = 12.0f;

ComponentAnimation Walker(int entity) {
    ComponentAnimation animation;
    AnimationClip clip;
    for (int i = 0; i < kCells; ++i) clip.frames.push_back({i, 0});
    clip.frameRate = kRate;
    animation.clips["Walk"] = clip;
    animation.Start({"Walk", true, 0.0f, 1.0f});
    // Spread the clocks so that cells change on different frames.
    animation.Advance(static_cast<float>(entity % 17) * 0.013f);
    return animation;
}

void BM_SystemAnimationUpdate(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    SystemAnimation system;
    std::vector<ComponentSprite> sprites(static_cast<std::size_t>(count + 1));
    system.SendMessage = [&](const Message& message) {
        if (auto* query = MessageAs<MessageQuery<ComponentSprite>>(message)) {
            query->callback(sprites[static_cast<std::size_t>(query->entity)]);
        }
        return true;
    };
    for (int e = 1; e <= count; ++e) system.components[e] = Walker(e);
    const MessageUpdate update(1.0f / 60.0f);
    for (auto _ : state) {
        system.HandleMessage(update);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_PlainClockLoop(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const float length = static_cast<float>(kCells) / kRate;
    std::vector<float> clocks(static_cast<std::size_t>(count));
    std::vector<int> cells(static_cast<std::size_t>(count), -1);
    std::vector<ComponentSprite> sprites(static_cast<std::size_t>(count));
    for (int e = 0; e < count; ++e) clocks[static_cast<std::size_t>(e)] = ((e + 1) % 17) * 0.013f;
    for (auto _ : state) {
        for (std::size_t e = 0; e < clocks.size(); ++e) {
            clocks[e] = std::fmod(clocks[e] + 1.0f / 60.0f, length);
            const int cell = static_cast<int>(std::floor(clocks[e] * kRate + 1e-4f)) % kCells;
            if (cell != cells[e]) {
                cells[e] = cell;
                sprites[e].index = {cell, 0};
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

BENCHMARK(BM_SystemAnimationUpdate)->Arg(100)->Arg(1000);
BENCHMARK(BM_PlainClockLoop)->Arg(100)->Arg(1000);
BENCHMARK_MAIN();
