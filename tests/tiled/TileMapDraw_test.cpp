#include <gtest/gtest.h>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "tests/support/RecordingBus.h"
#include "tests/tiled/TiledFixtures.h"
#include "tiled/SystemTileMap.h"

using namespace fixtures;

namespace {

struct Drawn {
    ComponentSprite sprite;
    ComponentTransform transform;
};

struct DrawWorld {
    DrawWorld() { bus.Attach(maps); }

    std::vector<Drawn> Render() {
        std::vector<Drawn> drawn;
        bus.recorder.onMessage = [&](const Message& m) {
            if (auto* s = MessageAs<MessageSpriteRender>(m))
                drawn.push_back({s->sprite, s->transform});
        };
        EXPECT_FALSE(maps.HandleMessage(MessageRender()));
        bus.recorder.onMessage = nullptr;
        return drawn;
    }
    void Key(int key, bool debug) {
        EXPECT_FALSE(maps.HandleMessage(MessageKey(key, 1, 0, debug)));
    }

    TempAssets assets;
    RecordingBus bus;
    SystemTileMap maps;
};

/// A 4 x 2 sheet; tile 3 (id 3) is solid. Layer 0 is decoration (ids 1 and 8), layer 1 holds
/// the solid tile.
json Decorated() {
    json decoration = Layer({1, 8});
    decoration["tintcolor"] = "#80FF0000";
    return Map(2, 1, {decoration, Layer({0, 3})},
               {TileSet(8, 4, {TileProps(2, {"isCollidable"})})});
}

}  // namespace

TEST(TileMapDraw, DecorationInPlayCollisionLayersInDebug) {
    DrawWorld world;
    Write(world.assets, "Decorated", Decorated());
    world.maps.HandleMessage(
        MessageAddComponentJSON("", 7, {{"TileMapJsonFilePath", "Decorated"}}, "TileMap"));

    std::vector<Drawn> drawn = world.Render();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].sprite.texture, "Tiles/ground");
    EXPECT_EQ(drawn[0].sprite.dimensions, glm::vec2(4.0f, 2.0f));
    EXPECT_EQ(drawn[0].sprite.index, glm::ivec2(0, 0));
    // Id 8 is the last cell: column 3 of row 1.
    EXPECT_EQ(drawn[1].sprite.index, glm::ivec2(3, 1));
    EXPECT_EQ(drawn[1].sprite.color, glm::vec4(0.99609375f, 0.0f, 0.0f, 0.5f));
    EXPECT_EQ(drawn[1].transform.translation, glm::vec3(1.0f, 1.0f, 8.0f));
    // Drawn edge to edge: the quad is twice the tile's half-extent.
    EXPECT_EQ(drawn[1].transform.scale, glm::vec3(2.0f, 2.0f, 1.0f));

    world.Key(81, true);
    drawn = world.Render();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].sprite.index, glm::ivec2(2, 0));
    EXPECT_EQ(drawn[0].sprite.color, glm::vec4(1.0f));

    // A second press in debug mode, or the grave accent outside it, returns to normal drawing.
    world.Key(81, true);
    EXPECT_EQ(world.Render().size(), 2u);
    world.Key(81, true);
    world.Key(96, false);
    EXPECT_EQ(world.Render().size(), 2u);

    // A map added later starts in normal drawing, whatever the others show.
    world.Key(81, true);
    world.maps.HandleMessage(
        MessageAddComponentJSON("", 8, {{"TileMapJsonFilePath", "Decorated"}}, "TileMap"));
    EXPECT_EQ(world.Render().size(), 1u + 2u);
}
