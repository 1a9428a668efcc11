// One frame's tile pass and tile drawing for a level-sized map, through a real engine and state.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageViews.h"
#include "engine/SystemTransform.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemCollisionCircle.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"
#include "tiled/SystemTileMap.h"

namespace {

using json = nlohmann::json;

constexpr int kWidth = 400;
constexpr int kHeight = 100;
const std::string kState = "Bench";

/// 400 x 100 cells, three layers: decoration everywhere, solid ground in the bottom ten rows
/// with scattered platforms, and a sparse layer of deadly tiles.
json MakeMap() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> percent(0, 99);
    json decoration = json::array();
    json ground = json::array();
    json hazards = json::array();
    for (int row = 0; row < kHeight; ++row) {
        for (int column = 0; column < kWidth; ++column) {
            decoration.push_back(1 + (row + column) % 3);
            ground.push_back(row >= kHeight - 10 || percent(random) < 8 ? 5 : 0);
            hazards.push_back(percent(random) < 2 ? 6 : 0);
        }
    }
    auto property = [](const char* name) { return json{{"name", name}, {"value", true}}; };
    json tiles = {{{"id", 4}, {"properties", {property("isCollidable")}}},
                  {{"id", 5}, {"properties", {property("isCollidable"), property("killsPlayer")}}}};
    json set = {{"tilecount", 8},
                {"columns", 4},
                {"image", "../Textures/Tiles/bench.png"},
                {"tiles", tiles}};
    return {{"width", kWidth},
            {"height", kHeight},
            {"tilesets", {set}},
            {"layers", {{{"data", decoration}}, {{"data", ground}}, {{"data", hazards}}}}};
}

/// Stands where the renderer would: takes every sprite off the bus.
class SpriteSink : public Manager {
public:
    bool HandleMessage(const Message& message) override {
        if (message.TypeId() != MessageId::SpriteRender) return false;
        ++sprites;
        return true;
    }
    long long sprites = 0;
};

/// Stands where the camera system would: one camera looking at the middle of the map, its
/// picture as many tiles as Level1's camera shows (14 rows of 25).
class ScreenView : public Manager {
public:
    bool HandleMessage(const Message& message) override {
        if (!on || message.TypeId() != MessageId::QueryViews) return false;
        const auto& query = static_cast<const MessageQueryViews&>(message);
        query.views.push_back({{-24.9f, -14.0f}, {24.9f, 14.0f}});
        query.answered = true;
        return false;
    }
    bool on = false;
};

struct Level {
    explicit Level(int colliders) {
        assets.WriteJson("Assets/Data/Tiled/Bench.json", MakeMap());
        assets.Scene(kState, json::object());
        std::vector<std::unique_ptr<SystemBase>> systems;
        systems.push_back(std::make_unique<SystemCollisionBox>());
        systems.push_back(std::make_unique<SystemCollisionCircle>());
        systems.push_back(std::make_unique<SystemTransform>());
        systems.push_back(std::make_unique<SystemTileMap>());
        std::vector<std::unique_ptr<Manager>> managers;
        auto sinkOwner = std::make_unique<SpriteSink>();
        sink = sinkOwner.get();
        managers.push_back(std::move(sinkOwner));
        auto viewOwner = std::make_unique<ScreenView>();
        view = viewOwner.get();
        managers.insert(managers.begin(), std::move(viewOwner));
        engine = std::make_unique<TestEngine>(std::move(systems), std::move(managers));
        engine->Enter(kState);
        engine->Send(
            MessageAddComponentJSON(kState, 1, {{"TileMapJsonFilePath", "Bench"}}, "TileMap"));
        // The map spans x in [-400, 400] and y in [-100, 100] with tile size 1.
        std::mt19937 random(3);
        std::uniform_real_distribution<float> x(-400.0f, 400.0f);
        std::uniform_real_distribution<float> y(-100.0f, 100.0f);
        for (EntityId id = 2; id < 2 + colliders; ++id) {
            ComponentTransform transform;
            transform.translation = {x(random), y(random), 0.0f};
            engine->Send(MessageAddComponent<ComponentTransform>(kState, id, transform));
            // Four in five colliders are boxes (player, enemies, crates), the rest circles.
            if (id % 5 != 0) {
                engine->Send(MessageAddComponent<ComponentCollisionBox>(
                    kState, id, ComponentCollisionBox{{0.5f, 1.0f}, {0.0f, 0.0f}}));
            } else {
                engine->Send(MessageAddComponent<ComponentCollisionCircle>(
                    kState, id, ComponentCollisionCircle{0.4f}));
            }
        }
        engine->recorder->Clear();
    }
    SystemBase& TileMaps() { return *engine->states->GetState(kState).systems[3]; }

    TempAssets assets;
    SpriteSink* sink = nullptr;
    ScreenView* view = nullptr;
    std::unique_ptr<TestEngine> engine;
};

void BM_TilePass(benchmark::State& state) {
    Level level(static_cast<int>(state.range(0)));
    SystemBase& maps = level.TileMaps();
    const MessageUpdate update(1.0f / 60.0f);
    for (auto _ : state) maps.HandleMessage(update);
    state.counters["contacts"] = static_cast<double>(level.engine->recorder->records.size()) /
                                 static_cast<double>(state.iterations());
}

void BM_TileDraw(benchmark::State& state) {
    Level level(0);
    SystemBase& maps = level.TileMaps();
    const MessageRender render;
    for (auto _ : state) maps.HandleMessage(render);
    state.counters["sprites"] =
        static_cast<double>(level.sink->sprites) / static_cast<double>(state.iterations());
}

/// The same map seen by one camera: only the tiles on screen (and a margin) are sent.
void BM_TileDrawOnScreen(benchmark::State& state) {
    Level level(0);
    level.view->on = true;
    SystemBase& maps = level.TileMaps();
    const MessageRender render;
    for (auto _ : state) maps.HandleMessage(render);
    state.counters["sprites"] =
        static_cast<double>(level.sink->sprites) / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(BM_TilePass)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TileDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TileDrawOnScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
