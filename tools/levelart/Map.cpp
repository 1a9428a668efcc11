#include "tools/levelart/Map.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/levelart/Tiles.h"

namespace levelart {

namespace {

using json = nlohmann::json;

// ---- The map, drawn as characters: '#' solid, '=' one-way platform, '^' hazard, 'v' pit,
// 'o' the anchor (the cell centred on the world origin). Cell (row r, column c) is centred at
// world (c, 23 - r); the ground's top is at y = 5.5.
constexpr int kWidth = 100;
constexpr int kHeight = 24;

std::vector<std::string> Level1() {
    std::vector<std::string> g(kHeight, std::string(kWidth, '.'));
    auto fill = [&](int r0, int r1, int c0, int c1, char ch) {
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) g[r][c] = ch;
        }
    };
    fill(18, 22, 0, kWidth - 1, '#');          // ground
    fill(0, 17, 0, 0, '#');                    // left boundary
    fill(0, 17, kWidth - 1, kWidth - 1, '#');  // right boundary
    fill(16, 17, 12, 15, '#');                 // a knee-high step
    fill(14, 14, 17, 21, '=');                 // one-way platforms climbing up
    fill(11, 11, 22, 26, '=');
    fill(18, 21, 28, 31, '.');  // first pit
    fill(22, 22, 28, 31, 'v');
    fill(17, 17, 38, 41, '^');  // spikes, with a platform over them
    fill(14, 14, 36, 43, '=');
    fill(16, 16, 46, 48, '=');  // steps up to the tall wall
    fill(13, 13, 48, 50, '=');
    fill(11, 17, 52, 53, '#');  // the tall wall
    fill(18, 21, 62, 65, '.');  // second pit
    fill(22, 22, 62, 65, 'v');
    fill(17, 17, 72, 75, '^');  // more spikes
    fill(14, 14, 78, 83, '=');  // high platforms
    fill(10, 10, 84, 89, '=');
    fill(15, 17, 92, 94, '#');  // a last block
    g[23][0] = 'o';
    return g;
}

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

/// Stone ruins behind the middle of the level.
int BackgroundId(int r, int c) {
    const bool ruin = (c >= 33 && c <= 45 && r >= 9 && r <= 17 && (c % 4 != 0 || r > 13)) ||
                      (c >= 66 && c <= 71 && r >= 12 && r <= 17) ||
                      (c >= 5 && c <= 9 && r >= 14 && r <= 17 && r + c > 21);
    return ruin ? kBackStone + 1 : 0;
}

json Layer(const char* name, const std::vector<int>& data, float z, bool background) {
    json properties = json::array({{{"name", "Z Position"}, {"type", "float"}, {"value", z}}});
    if (background) {
        properties.push_back({{"name", "Background"}, {"type", "bool"}, {"value", true}});
    }
    return {{"name", name},    {"type", "tilelayer"},
            {"width", kWidth}, {"height", kHeight},
            {"data", data},    {"properties", properties},
            {"opacity", 1},    {"visible", true},
            {"x", 0},          {"y", 0}};
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

bool WriteMap() {
    const std::vector<std::string> g = Level1();
    std::vector<int> logic, visible, background;
    for (int r = 0; r < kHeight; ++r) {
        for (int c = 0; c < kWidth; ++c) {
            logic.push_back(LogicId(g[r][c]));
            visible.push_back(VisibleId(g, r, c));
            background.push_back(BackgroundId(r, c));
        }
    }
    // Drawing order is the layers' order; z decides what covers what.
    const json map = {
        {"type", "map"},
        {"orientation", "orthogonal"},
        {"renderorder", "right-down"},
        {"width", kWidth},
        {"height", kHeight},
        {"tilewidth", kTile},
        {"tileheight", kTile},
        {"infinite", false},
        {"tilesets", {{{"firstgid", 1}, {"source", "Level1Tiles.tsx"}}}},
        {"layers",
         {Layer("Background", background, -2.0f, true), Layer("Ground", visible, -1.0f, false),
          Layer("Collision", logic, -1.0f, false)}},
    };
    auto flag = [](const char* name) {
        return json{{"name", name}, {"type", "bool"}, {"value", true}};
    };
    const json tileset = {
        {"name", "Level1Tiles"},
        {"image", "../Textures/Level/Level1Tiles.png"},
        {"imagewidth", kTile * kTileColumns},
        {"imageheight", kTile * kTileRows},
        {"tilewidth", kTile},
        {"tileheight", kTile},
        {"tilecount", kTileColumns * kTileRows},
        {"columns", kTileColumns},
        {"tiles",
         {{{"id", kSolid}, {"properties", {flag("isCollidable")}}},
          {{"id", kOneWay}, {"properties", {flag("isCollidable"), flag("canJumpThrough")}}},
          {{"id", kHazard}, {"properties", {flag("isCollidable"), flag("killsPlayer")}}},
          {{"id", kPit}, {"properties", {flag("isCollidable"), flag("pit")}}},
          {{"id", kAnchor}, {"properties", {flag("AtPosition0,0")}}}}},
    };
    return WriteJson("Assets/Data/Tiled/Level1.json", map) &&
           WriteJson("Assets/Data/Tiled/Level1Tiles.json", tileset);
}

}  // namespace levelart
