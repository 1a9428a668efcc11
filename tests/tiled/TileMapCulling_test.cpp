#include <gtest/gtest.h>

#include <tuple>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageSpriteRender.h"
#include "engine/MessageViews.h"
#include "tests/support/RecordingBus.h"
#include "tests/tiled/TiledFixtures.h"
#include "tiled/SystemTileMap.h"

using namespace fixtures;

namespace {

using Cell = std::tuple<float, float, float>;

/// A 40 x 6 map of tile size 1 (cells 2 units apart) with two drawn layers full of tiles.
struct Culling {
    Culling() {
        bus.Attach(maps);
        json cells = json::array();
        for (int i = 0; i < 40 * 6; ++i) cells.push_back(1 + i % 3);
        Write(assets, "Wide", Map(40, 6, {Layer(cells), Layer(cells)}, {TileSet(4, 2)}));
        maps.HandleMessage(
            MessageAddComponentJSON("", 1, {{"TileMapJsonFilePath", "Wide"}}, "TileMap"));
    }

    /// Renders once with the cameras answering `views` (none: nobody answers) and returns the
    /// drawn tile centres (x, y, z), failing on a tile drawn twice.
    std::multiset<Cell> Render(const std::vector<WorldRect>& views, bool unbounded = false) {
        std::multiset<Cell> drawn;
        bool asked = false;
        bus.recorder.onMessage = [&](const Message& m) {
            if (m.TypeId() == MessageId::QueryViews) {
                asked = true;
                const auto& query = static_cast<const MessageQueryViews&>(m);
                query.views.insert(query.views.end(), views.begin(), views.end());
                query.answered = !views.empty() || unbounded;
                query.unbounded = unbounded;
            }
            if (auto* s = MessageAs<MessageSpriteRender>(m)) {
                const glm::vec3& t = s->transform.translation;
                drawn.insert({t.x, t.y, t.z});
            }
        };
        maps.HandleMessage(MessageRender());
        bus.recorder.onMessage = nullptr;
        EXPECT_TRUE(asked) << "the map drew without asking what the cameras see";
        return drawn;
    }

    TempAssets assets;
    RecordingBus bus;
    SystemTileMap maps;
};

bool Overlaps(const Cell& cell, const WorldRect& view, float grow) {
    // Tiles are 2 x 2 units around their centre.
    const glm::vec2 c{std::get<0>(cell), std::get<1>(cell)};
    return c.x + 1.0f + grow >= view.min.x && c.x - 1.0f - grow <= view.max.x &&
           c.y + 1.0f + grow >= view.min.y && c.y - 1.0f - grow <= view.max.y;
}

}  // namespace

TEST(TileMapCulling, DrawsWhatTheCamerasSeeAndLittleMore) {
    Culling world;
    const std::multiset<Cell> all = world.Render({});
    ASSERT_EQ(all.size(), 2u * 40u * 6u);

    // A view over part of the map, its edges inside cells: every tile it touches is drawn,
    // nothing far outside it is.
    const WorldRect view{{-11.3f, -2.5f}, {3.7f, 1.2f}};
    const std::multiset<Cell> seen = world.Render({view});
    EXPECT_LT(seen.size(), all.size() / 2);
    for (const Cell& cell : all) {
        if (Overlaps(cell, view, 0.0f)) {
            EXPECT_EQ(seen.count(cell), all.count(cell)) << std::get<0>(cell);
        }
    }
    for (const Cell& cell : seen) {
        EXPECT_TRUE(Overlaps(cell, view, 6.0f)) << std::get<0>(cell) << " " << std::get<1>(cell);
    }
}

TEST(TileMapCulling, OverlappingViewsDrawACellOnceAndMissesDrawNothing) {
    Culling world;
    const WorldRect left{{-30.0f, -3.0f}, {-10.0f, 3.0f}};
    const WorldRect right{{-20.0f, -3.0f}, {5.0f, 3.0f}};
    const std::multiset<Cell> both = world.Render({left, right});
    const std::multiset<Cell> all = world.Render({});
    for (const Cell& cell : both) EXPECT_EQ(both.count(cell), all.count(cell));
    for (const Cell& cell : all) {
        if (Overlaps(cell, left, 0.0f) || Overlaps(cell, right, 0.0f)) {
            EXPECT_EQ(both.count(cell), all.count(cell));
        }
    }

    // A camera far off the map, and one with no bounded footprint.
    EXPECT_TRUE(world.Render({{{500.0f, 500.0f}, {520.0f, 510.0f}}}).empty());
    EXPECT_EQ(world.Render({}, true).size(), all.size());
}
