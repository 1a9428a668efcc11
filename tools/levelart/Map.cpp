#include "tools/levelart/Map.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/levelart/Layouts.h"
#include "tools/levelart/Tiles.h"

namespace levelart {

namespace {

using json = nlohmann::json;

int LogicId(char c) {
    switch (c) {
        case '#':
            return kSolid + 1;
        case '=':
            return kOneWay + 1;
        case '^':
            return kHazard + 1;
        case 'v':
            return kPit + 1;
        case 'o':
            return kAnchor + 1;
        default:
            return 0;
    }
}

int VisibleId(const std::vector<std::string>& g, int r, int c) {
    switch (g[r][c]) {
        case '#':
            return (r > 0 && g[r - 1][c] == '#' ? kDirt : kGrass) + 1;
        case '=':
            return kPlank + 1;
        case '^':
            return kSpikes + 1;
        case 'v':
            return kPitFloor + 1;
        default:
            return 0;
    }
}

json Layer(const char* name, int width, const std::vector<int>& data, float z, bool background) {
    json properties = json::array({{{"name", "Z Position"}, {"type", "float"}, {"value", z}}});
    if (background) {
        properties.push_back({{"name", "Background"}, {"type", "bool"}, {"value", true}});
    }
    return {{"name", name},   {"type", "tilelayer"},
            {"width", width}, {"height", kLevelHeight},
            {"data", data},   {"properties", properties},
            {"opacity", 1},   {"visible", true},
            {"x", 0},         {"y", 0}};
}

bool WriteJson(const std::string& path, const json& value) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::fprintf(stderr, "levelart: cannot write %s\n", path.c_str());
        return false;
    }
    out << value.dump(1) << "\n";
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace

bool WriteMap(const std::string& level, const Layout& layout) {
    const std::vector<std::string>& g = layout.rows;
    const int width = layout.Width();
    std::vector<int> logic, visible, background;
    for (int r = 0; r < kLevelHeight; ++r) {
        for (int c = 0; c < width; ++c) {
            logic.push_back(LogicId(g[r][c]));
            visible.push_back(VisibleId(g, r, c));
            background.push_back(layout.background(r, c));
        }
    }
    const std::string tiles = level + "Tiles";
    // Drawing order is the layers' order; z decides what covers what.
    const json map = {
        {"type", "map"},
        {"orientation", "orthogonal"},
        {"renderorder", "right-down"},
        {"width", width},
        {"height", kLevelHeight},
        {"tilewidth", kTile},
        {"tileheight", kTile},
        {"infinite", false},
        {"tilesets", {{{"firstgid", 1}, {"source", tiles + ".tsx"}}}},
        {"layers",
         {Layer("Background", width, background, -2.0f, true),
          Layer("Ground", width, visible, -1.0f, false),
          Layer("Collision", width, logic, -1.0f, false)}},
    };
    auto flag = [](const char* name) {
        return json{{"name", name}, {"type", "bool"}, {"value", true}};
    };
    const json tileset = {
        {"name", tiles},
        {"image", "../Textures/Level/" + tiles + ".png"},
        {"imagewidth", kTile * kTileColumns},
        {"imageheight", kTile * kTileRows},
        {"tilewidth", kTile},
        {"tileheight", kTile},
        {"tilecount", kTileColumns * kTileRows},
        {"columns", kTileColumns},
        {"tiles",
         {{{"id", kSolid}, {"properties", {flag("isCollidable")}}},
          {{"id", kOneWay}, {"properties", {flag("isCollidable"), flag("canJumpThrough")}}},
          // The spikes are drawn in the lower part of their cell and touched only there.
          {{"id", kHazard},
           {"properties",
            {flag("isCollidable"),
             flag("killsPlayer"),
             {{"name", "collisionHeight"}, {"type", "float"}, {"value", kHazardHeight}}}}},
          {{"id", kPit}, {"properties", {flag("isCollidable"), flag("pit")}}},
          {{"id", kAnchor}, {"properties", {flag("AtPosition0,0")}}}}},
    };
    return WriteJson("Assets/Data/Tiled/" + level + ".json", map) &&
           WriteJson("Assets/Data/Tiled/" + tiles + ".json", tileset);
}

}  // namespace levelart
