// Tile sets and maps that could shift later sets, read outside the content, or make the
// loader allocate without bound.
#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "tests/tiled/TiledFixtures.h"

using namespace fixtures;

namespace {

json Sized(int imageWidth, int imageHeight, int tile) {
    return {{"image", "../Textures/Tiles/ground.png"},
            {"imagewidth", imageWidth},
            {"imageheight", imageHeight},
            {"tilewidth", tile},
            {"tileheight", tile}};
}

}  // namespace

TEST(TileSetBounds, MissingCountsComeFromTheImageAndNeverShiftLaterSets) {
    TempAssets assets;
    // 4 x 2 cells of 16 pixels, without "tilecount" and "columns".
    json first = Sized(64, 32, 16);
    json second = TileSet(2, 2, {TileProps(1, {"isCollidable"})});
    Write(assets, "Derived", Map(1, 1, {Layer({10})}, {first, second}));
    const ComponentTileMap map = Load("Derived");
    ASSERT_EQ(map.TilesetSprites.size(), 2u);
    EXPECT_EQ(map.TilesetSprites[0].dimensions, glm::vec2(4.0f, 2.0f));
    ASSERT_EQ(map.TileTypes.size(), 1u + 8u + 2u);
    // Tile 10 is the second set's second tile, drawn from the second sheet.
    EXPECT_EQ(map.TileTypes[10].TilesetIndex, 1);
    EXPECT_TRUE(map.TileTypes[10].isCollidable);
    EXPECT_TRUE(map.Lookup(0, 0, 0).Type.isCollidable);

    // With neither counts nor sizes the set is refused, not skipped.
    json bare = {{"image", "../Textures/Tiles/ground.png"}};
    Write(assets, "Bare", Map(1, 1, {Layer({1})}, {bare, second}));
    const std::string error = LoadError("Bare");
    EXPECT_NE(error.find("Bare.json: /tilesets/0"), std::string::npos) << error;
    EXPECT_NE(error.find("tilecount"), std::string::npos) << error;
}

TEST(TileSetBounds, CountsAreBoundedByTheImageAndByALimit) {
    TempAssets assets;
    json huge = TileSet(2147483647, 0);
    Write(assets, "Huge", Map(1, 1, {Layer({0})}, {huge}));
    EXPECT_NE(LoadError("Huge").find("1048576 tile types"), std::string::npos) << LoadError("Huge");

    json tooMany = Sized(64, 32, 16);
    tooMany["tilecount"] = 9;
    tooMany["columns"] = 4;
    Write(assets, "TooMany", Map(1, 1, {Layer({0})}, {tooMany}));
    EXPECT_NE(LoadError("TooMany").find("4 x 2 cells"), std::string::npos) << LoadError("TooMany");

    Write(assets, "Wide", Map(100000, 100000, {Layer({0})}));
    EXPECT_NE(LoadError("Wide").find("larger than the limit"), std::string::npos)
        << LoadError("Wide");
}

TEST(TileSetBounds, NumbersBeyondTheirFieldsAreDataErrors) {
    TempAssets assets;
    Write(assets, "Count", Map(1, 1, {Layer({0})}, {TileSet(1, 1)}));
    json count = Map(1, 1, {Layer({0})}, {TileSet(1, 1)});
    count["tilesets"][0]["tilecount"] = 1e20;
    Write(assets, "Count", count);
    json columns = Map(1, 1, {Layer({0})}, {TileSet(1, 1)});
    columns["tilesets"][0]["columns"] = -1e20;
    Write(assets, "Columns", columns);
    json id = Map(1, 1, {Layer({0})}, {TileSet(1, 1, {{{"id", 1e20}}})});
    Write(assets, "Id", id);
    Write(assets, "Data", Map(1, 1, {Layer({1e30})}, {TileSet(1, 1)}));
    json width = Map(1, 1, {Layer({0})});
    width["width"] = 1e20;
    Write(assets, "Width", width);
    json height = Map(1, 1, {Layer({0})});
    height["height"] = -1e20;
    Write(assets, "Height", height);

    for (const char* name : {"Count", "Columns", "Id", "Data", "Width", "Height"}) {
        const std::string error = LoadError(name);
        EXPECT_EQ(error.rfind(std::string("./Assets/Data/Tiled/") + name + ".json: ", 0), 0u)
            << name << ": " << error;
    }
    EXPECT_NE(LoadError("Count").find("/tilecount"), std::string::npos) << LoadError("Count");
}

TEST(TileSetBounds, TileSetsAndSheetsOutsideTheContentAreRefused) {
    TempAssets assets;
    // Something a climbing path would reach if it were opened.
    assets.WriteJson("Outside.json", TileSet(1, 1));
    Write(assets, "Climb", Map(1, 1, {Layer({1})}, {{{"source", "../../../Outside.tsj"}}}));
    Write(assets, "Absolute", Map(1, 1, {Layer({1})}, {{{"source", "/etc/passwd.tsj"}}}));
    Write(assets, "Sheet",
          Map(1, 1, {Layer({1})}, {TileSet(1, 1, {}, "../Textures/../../../x.png")}));
    // Inside the content, ".." is fine.
    Write(assets, "Sibling", Map(1, 1, {Layer({1})}, {{{"source", "../Tiled/Set.tsj"}}}));
    Write(assets, "Set", TileSet(1, 1));

    for (const char* name : {"Climb", "Absolute", "Sheet"}) {
        const std::string error = LoadError(name);
        EXPECT_EQ(error.rfind(std::string("./Assets/Data/Tiled/") + name + ".json: ", 0), 0u)
            << name << ": " << error;
        EXPECT_NE(error.find("leads outside Assets/"), std::string::npos) << error;
    }
    EXPECT_EQ(LoadError("Sibling"), "");
}
