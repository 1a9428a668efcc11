#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "tests/tiled/TiledFixtures.h"

using namespace fixtures;

namespace {

glm::vec2 Centre(const ComponentTileMap& map, int layer, int row, int column) {
    const glm::vec3& t = map.Lookup(layer, row, column).Transform.translation;
    return {t.x, t.y};
}

int CountLines(const std::string& text, const std::string& needle) {
    int count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

TEST(TileMapLoad, EvenAndOddMapsAreCentredWithASentinelAfterTheLayers) {
    TempAssets assets;
    Write(assets, "Even", Map(2, 2, {Layer({0, 0, 0, 0})}));
    Write(assets, "Odd", Map(3, 3, {Layer({0, 0, 0, 0, 0, 0, 0, 0, 0})}));

    const ComponentTileMap even = Load("Even");
    EXPECT_EQ(Centre(even, 0, 0, 0), glm::vec2(-1.0f, 1.0f));
    EXPECT_EQ(Centre(even, 0, 1, 1), glm::vec2(1.0f, -1.0f));
    EXPECT_EQ(even.LayerCount, 1);
    ASSERT_EQ(even.Layers.size(), 2u);
    // Every cell outside the grid is the sentinel: empty, not solid.
    EXPECT_EQ(&even.Lookup(0, 2, 0), &even.Layers[1][0]);
    EXPECT_EQ(&even.Lookup(0, 0, -1), &even.Layers[1][0]);
    EXPECT_EQ(&even.Lookup(1, 0, 0), &even.Layers[1][0]);
    EXPECT_EQ(even.Layers[1][0].Id, 0);

    const ComponentTileMap odd = Load("Odd", 0.5f);
    EXPECT_EQ(Centre(odd, 0, 0, 0), glm::vec2(-1.5f, 1.5f));
    EXPECT_EQ(Centre(odd, 0, 1, 1), glm::vec2(-0.5f, 0.5f));
    EXPECT_EQ(Centre(odd, 0, 2, 2), glm::vec2(0.5f, -0.5f));
    EXPECT_EQ(odd.Lookup(0, 2, 2).Transform.scale, glm::vec3(0.5f, 0.5f, 1.0f));
    // The nearest cell of a world point.
    EXPECT_EQ(odd.RowAt(-0.4f), 2);
    EXPECT_EQ(odd.ColumnAt(-1.9f), 0);
}

TEST(TileMapLoad, AnchorTileCentresItsCellOnTheOrigin) {
    TempAssets assets;
    Write(assets, "Set", TileSet(2, 2, {TileProps(1, {"AtPosition0,0"})}));
    json data = json::array();
    for (int i = 0; i < 15; ++i) data.push_back(i == 4 * 3 + 2 ? 2 : 0);
    json background = Layer(data, {{{"name", "Background"}, {"value", true}}});
    Write(assets, "Anchored", Map(3, 5, {Layer(data), background}, {{{"source", "Set.tsx"}}}));

    const ComponentTileMap map = Load("Anchored", 2.0f);
    EXPECT_EQ(map.AnchorRow, 4);
    EXPECT_EQ(map.AnchorColumn, 2);
    EXPECT_EQ(Centre(map, 0, 4, 2), glm::vec2(0.0f, 0.0f));
    EXPECT_EQ(Centre(map, 0, 3, 2), glm::vec2(0.0f, 4.0f));
    EXPECT_EQ(Centre(map, 0, 0, 0), glm::vec2(-8.0f, 16.0f));
    // The anchor's placement does not shift background layers again.
    EXPECT_EQ(Centre(map, 1, 3, 2), glm::vec2(0.0f, 4.0f));
    EXPECT_FLOAT_EQ(map.OriginX, -8.0f);
    EXPECT_FLOAT_EQ(map.OriginY, 16.0f);
    EXPECT_TRUE(map.CollisionLayers[0]);
}

TEST(TileMapLoad, LayerPropertiesTintsAndBackgroundShift) {
    TempAssets assets;
    json front = Layer({0, 0}, {{{"name", "Z Position"}, {"value", 3.5}}, {{"name", "Other"}}});
    front["tintcolor"] = "#80FF0000";
    json back = Layer({0, 0}, {{{"name", "Background"}, {"value", true}}});
    back["tintcolor"] = "#00FF00";
    json bare = json::object();  // no data: still a layer
    Write(assets, "Tinted", Map(2, 1, {front, back, bare}));

    const ComponentTileMap map = Load("Tinted", 3.0f);
    ASSERT_EQ(map.LayerCount, 3);
    EXPECT_EQ(map.LayerTints[0], glm::vec4(0.99609375f, 0.0f, 0.0f, 0.5f));
    EXPECT_EQ(map.LayerTints[1], glm::vec4(0.0f, 0.99609375f, 0.0f, 1.0f));
    EXPECT_EQ(map.LayerTints[2], glm::vec4(1.0f));
    EXPECT_EQ(map.LayerZ, (std::vector<float>{3.5f, 8.0f, 8.0f}));
    // One row (odd height) puts the row's centre one tile above the origin.
    EXPECT_EQ(map.Lookup(0, 0, 0).Transform.translation, glm::vec3(-3.0f, 3.0f, 3.5f));
    EXPECT_EQ(map.Lookup(1, 0, 0).Transform.translation, glm::vec3(-5.0f, 1.0f, 8.0f));
    EXPECT_TRUE(map.Layers[2].empty());
    EXPECT_EQ(map.Layers.size(), 4u);

    Write(assets, "BadTint", Map(1, 1, {{{"data", {0}}, {"tintcolor", "#GG0000"}}}));
    const std::string error = LoadError("BadTint");
    EXPECT_EQ(error.rfind("./Assets/Data/Tiled/BadTint.json:", 0), 0u) << error;
    EXPECT_NE(error.find("tintcolor"), std::string::npos);
}

TEST(TileMapLoad, TileIdsRunAcrossTileSetsAndSheetsAreColumnsThenRows) {
    TempAssets assets;
    Write(assets, "First", TileSet(12, 4, {TileProps(5, {"killsPlayer"})}));
    Write(assets, "Wide",
          TileSet(8, 4, {TileProps(0, {"isCollidable", "pit"})},
                  "C:/art/../Textures/Tiles/wide.sheet.png"));
    Write(assets, "Sets",
          Map(1, 2, {Layer({6, 13})},
              {{{"source", "First.tsx"}}, {{"source", "../Tiled/Wide.json"}}}));

    const ComponentTileMap map = Load("Sets");
    ASSERT_EQ(map.TileTypes.size(), 1u + 12u + 8u);
    EXPECT_EQ(map.TilesetCount, 2);
    const TileType& last = map.TileTypes[12];
    EXPECT_EQ(last.TilesetIndex, 0);
    EXPECT_EQ(last.SheetRow, 2);
    EXPECT_EQ(last.SheetColumn, 3);
    EXPECT_TRUE(map.TileTypes[6].killsPlayer);
    const TileType& second = map.TileTypes[13];
    EXPECT_EQ(second.TilesetIndex, 1);
    EXPECT_EQ(second.SheetRow, 0);
    EXPECT_TRUE(second.isCollidable);
    EXPECT_TRUE(second.pit);
    EXPECT_EQ(map.TileTypes[20].SheetRow, 1);
    EXPECT_EQ(map.TileTypes[20].SheetColumn, 3);

    // Sheets are described as (columns, rows), so a 4 x 2 sheet is not read as 2 x 4.
    ASSERT_EQ(map.TilesetSprites.size(), 2u);
    EXPECT_EQ(map.TilesetSprites[0].dimensions, glm::vec2(4.0f, 3.0f));
    EXPECT_EQ(map.TilesetSprites[1].dimensions, glm::vec2(4.0f, 2.0f));
    EXPECT_EQ(map.TilesetSprites[0].texture, "Tiles/ground");
    EXPECT_EQ(map.TilesetSprites[1].texture, "Tiles/wide.sheet");
    EXPECT_EQ(map.TilesetSprites[1].shader, "Default");

    // A solid tile gets its collider and makes its layer a collision layer.
    const Tile& solid = map.Lookup(0, 1, 0);
    EXPECT_EQ(solid.Id, 13);
    EXPECT_EQ(solid.Collider.Size, glm::vec2(1.0f));
    EXPECT_EQ(map.Lookup(0, 0, 0).Collider.Size, glm::vec2(0.0f));
    EXPECT_TRUE(map.CollisionLayers[0]);
}

TEST(TileMapLoad, EditorFlipFlagsAreMaskedAndUnknownIdsLeftEmptyWithOneWarning) {
    TempAssets assets;
    Write(assets, "Set", TileSet(2, 2, {TileProps(0, {"isCollidable"})}));
    // Horizontal, vertical and diagonal flips of tile 1, flips of tile 2, then unknown ids.
    const json data = {2147483649u, 1073741825u, 536870914u, 3221225474u, 3, 99, 4026531843u, -5};
    Write(assets, "Flipped", Map(8, 1, {Layer(data)}, {{{"source", "Set.tsx"}}}));

    testing::internal::CaptureStderr();
    const ComponentTileMap map = Load("Flipped");
    const std::string warnings = testing::internal::GetCapturedStderr();

    const std::vector<int> expected{1, 1, 2, 2, 0, 0, 0, 0};
    for (int column = 0; column < 8; ++column) {
        EXPECT_EQ(map.Lookup(0, 0, column).Id, expected[column]) << column;
    }
    // Flips draw mirrored: horizontal and vertical by the sign of the scale; the diagonal flip
    // (a transposed image, world (x, y) to (-y, -x)) as a quarter turn of an x-mirrored quad.
    EXPECT_EQ(map.Lookup(0, 0, 0).Transform.scale, glm::vec3(-1.0f, 1.0f, 1.0f));
    EXPECT_EQ(map.Lookup(0, 0, 1).Transform.scale, glm::vec3(1.0f, -1.0f, 1.0f));
    const ComponentTransform& diagonal = map.Lookup(0, 0, 2).Transform;
    EXPECT_FLOAT_EQ(diagonal.rotation.z, 1.5707964f);
    EXPECT_EQ(diagonal.scale, glm::vec3(-1.0f, 1.0f, 1.0f));
    EXPECT_EQ(map.Lookup(0, 0, 3).Transform.scale, glm::vec3(-1.0f, -1.0f, 1.0f));
    EXPECT_EQ(map.Lookup(0, 0, 3).Transform.rotation.z, 0.0f);
    // Mirroring never touches the collider.
    EXPECT_TRUE(map.Lookup(0, 0, 0).Type.isCollidable);
    EXPECT_EQ(map.Lookup(0, 0, 0).Collider.Size, glm::vec2(1.0f));
    EXPECT_FALSE(map.Lookup(0, 0, 4).Type.isCollidable);
    EXPECT_EQ(CountLines(warnings, "./Assets/Data/Tiled/Flipped.json"), 1) << warnings;
}

TEST(TileMapLoad, TilePropertiesOutsideTheirSetAreIgnoredWithAWarning) {
    TempAssets assets;
    // 5 tiles in 2 columns make a 2 x 2 sheet: ids 4 (beyond the sheet) and 7 are bad.
    Write(assets, "Short",
          TileSet(5, 2,
                  {TileProps(4, {"isCollidable"}), TileProps(7, {"pit"}), TileProps(-1, {"pit"}),
                   TileProps(1, {"pit"})}));
    Write(assets, "Next", TileSet(2, 2));
    Write(assets, "Props",
          Map(1, 1, {Layer({5})}, {{{"source", "Short.tsx"}}, {{"source", "Next.tsx"}}}));

    testing::internal::CaptureStderr();
    const ComponentTileMap map = Load("Props");
    const std::string warnings = testing::internal::GetCapturedStderr();
    ASSERT_EQ(map.TileTypes.size(), 1u + 4u + 2u);
    EXPECT_TRUE(map.TileTypes[2].pit);
    // The following tile set's first tile took none of the stray properties.
    EXPECT_FALSE(map.TileTypes[5].isCollidable);
    EXPECT_FALSE(map.TileTypes[5].pit);
    EXPECT_EQ(CountLines(warnings, "./Assets/Data/Tiled/Props.json"), 1) << warnings;
}

TEST(TileMapLoad, EmbeddedAndZeroColumnTileSetsKeepLaterIdsInPlace) {
    TempAssets assets;
    json collection = TileSet(3, 0, {TileProps(2, {"isCollidable"})});
    collection.erase("image");
    json embedded = TileSet(4, 2, {TileProps(0, {"canJumpThrough"})});
    Write(assets, "Mixed", Map(2, 1, {Layer({3, 4})}, {collection, embedded}));

    testing::internal::CaptureStderr();
    const ComponentTileMap map = Load("Mixed");
    const std::string warnings = testing::internal::GetCapturedStderr();
    ASSERT_EQ(map.TileTypes.size(), 1u + 3u + 4u);
    EXPECT_TRUE(map.TileTypes[3].isCollidable);
    EXPECT_TRUE(map.TileTypes[4].canJumpThrough);
    EXPECT_EQ(map.TileTypes[4].TilesetIndex, 1);
    EXPECT_EQ(map.TilesetSprites[0].dimensions, glm::vec2(3.0f, 1.0f));
    EXPECT_EQ(map.TilesetSprites[0].texture, "");
    EXPECT_EQ(map.TilesetSprites[1].dimensions, glm::vec2(2.0f, 2.0f));
    EXPECT_EQ(CountLines(warnings, "./Assets/Data/Tiled/Mixed.json"), 1) << warnings;
}

TEST(TileMapLoad, DegenerateSizesLoadSafely) {
    TempAssets assets;
    Write(assets, "Small", Map(2, 1, {Layer({0, 0})}));
    // A tile size of 0 (or less) keeps the default instead of collapsing the map.
    EXPECT_FLOAT_EQ(Load("Small", 0.0f).TileSize, 1.0f);
    EXPECT_FLOAT_EQ(Load("Small", -2.0f).TileSize, 1.0f);
    EXPECT_EQ(Centre(Load("Small", 0.0f), 0, 0, 1), glm::vec2(1.0f, 1.0f));

    // A "data" array shorter than the grid leaves the missing cells empty.
    Write(assets, "ShortData", Map(3, 3, {Layer({1})}, {TileSet(1, 1)}));
    const ComponentTileMap shortData = Load("ShortData");
    EXPECT_EQ(shortData.Lookup(0, 0, 0).Id, 1);
    EXPECT_EQ(shortData.Lookup(0, 2, 2).Id, 0);
}

TEST(TileMapLoad, BadFilesRaiseErrorsNamingTheFile) {
    TempAssets assets;
    json noWidth = Map(2, 2, {Layer({0, 0, 0, 0})});
    noWidth.erase("width");
    Write(assets, "NoWidth", noWidth);
    json noHeight = Map(2, 2, {Layer({0, 0, 0, 0})});
    noHeight.erase("height");
    Write(assets, "NoHeight", noHeight);
    json infinite = Map(2, 2, {{{"chunks", json::array()}}});
    infinite["infinite"] = true;
    Write(assets, "Infinite", infinite);
    Write(assets, "Chunked", Map(2, 2, {{{"chunks", json::array()}}}));
    Write(assets, "BadData", Map(1, 1, {Layer({"grass"})}));
    Write(assets, "NoSet", Map(1, 1, {Layer({0})}, {{{"source", "Missing.tsx"}}}));
    json flat = TileProps(0, {"isCollidable"});
    flat["properties"].push_back({{"name", "collisionHeight"}, {"value", 0.0}});
    Write(assets, "FlatTile", Map(1, 1, {Layer({1})}, {TileSet(1, 1, {flat})}));
    assets.Write("Assets/Data/Tiled/Broken.json", "{\"width\": ");

    const std::string prefix = "./Assets/Data/Tiled/";
    for (const char* name :
         {"NoWidth", "NoHeight", "Infinite", "Chunked", "BadData", "Broken", "Absent"}) {
        const std::string error = LoadError(name);
        EXPECT_EQ(error.rfind(prefix + name + ".json: ", 0), 0u) << name << ": " << error;
    }
    EXPECT_NE(LoadError("Infinite").find("infinite"), std::string::npos);
    // A tile that would collide nowhere (or above its cell) is a content error.
    EXPECT_NE(LoadError("FlatTile").find("collisionHeight"), std::string::npos)
        << LoadError("FlatTile");
    EXPECT_EQ(LoadError("NoSet").rfind(prefix + "Missing.json: ", 0), 0u) << LoadError("NoSet");

    // The entity file's own keys keep the JSON library's errors.
    EXPECT_THROW(json({{"Tile Size", "big"}}).get<ComponentTileMap>(), nlohmann::json::type_error);
}
