// Writes Level1's textures (Assets/Textures/Level, Player and Fx) and its tile map and
// tile set (Assets/Data/Tiled) from fixed integer formulas, so every run writes the same bytes.
// Run from the repository root.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <stb_image_write.h>
#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::json;

struct Rgba {
    std::uint8_t r, g, b, a;
};

constexpr Rgba kClear{0, 0, 0, 0};

using Painter = std::function<Rgba(int x, int y)>;

bool Write(const std::string& path, int width, int height, const Painter& paint) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgba c = paint(x, y);
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = c.a;
        }
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (!stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4)) {
        std::fprintf(stderr, "levelart: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

bool Inside(int x, int y, int x0, int y0, int x1, int y1) {
    return x >= x0 && x < x1 && y >= y0 && y < y1;
}

bool InDisc(int x, int y, int cx, int cy, int r) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

/// A small fixed hash for texture noise.
int Noise(int x, int y, int seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
                 static_cast<unsigned>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 255u);
}

Rgba Shade(Rgba c, int delta) {
    auto clamp = [](int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    return {clamp(c.r + delta), clamp(c.g + delta), clamp(c.b + delta), c.a};
}

// ---- Tile set: 8 x 3 tiles of 32 pixels. Row 0: logic tiles (seen in debug mode), row 1:
// the visible ground, row 2: background stone.
constexpr int kTile = 32;
constexpr int kTileColumns = 8;
constexpr int kTileRows = 3;

enum TileIndex {
    kSolid = 0,
    kOneWay = 1,
    kHazard = 2,
    kPit = 3,
    kAnchor = 4,
    kGrass = 8,
    kDirt = 9,
    kPlank = 10,
    kSpikes = 11,
    kPitFloor = 12,
    kBackStone = 16,
};

Rgba Outline(int x, int y, Rgba c) {
    const bool edge = x < 2 || y < 2 || x >= kTile - 2 || y >= kTile - 2;
    return edge ? c : Rgba{c.r, c.g, c.b, 70};
}

Rgba TilePixel(int index, int x, int y) {
    const int n = Noise(x, y, index) / 16 - 8;
    switch (index) {
        case kSolid:
            return Outline(x, y, {230, 60, 60, 255});
        case kOneWay:
            return y < 8 ? Outline(x, y, {240, 210, 40, 255}) : kClear;
        case kHazard:
            return Outline(x, y, {230, 40, 220, 255});
        case kPit:
            return Outline(x, y, {120, 40, 200, 255});
        case kAnchor:
            return (x == y || x == kTile - 1 - y) ? Rgba{0, 220, 220, 255} : kClear;
        case kGrass: {
            const int blade = (x * 7) % 5;
            if (y < 6 + blade % 3) return Shade({86, 170, 60, 255}, n);
            if (y < 9 + blade % 3) return Shade({60, 130, 45, 255}, n);
            return Shade({120, 80, 50, 255}, n);
        }
        case kDirt:
            return Shade(
                (Noise(x / 4, y / 4, 7) < 40) ? Rgba{95, 70, 50, 255} : Rgba{120, 80, 50, 255}, n);
        case kPlank: {
            if (y >= 12) return kClear;
            if (y < 2 || y >= 10 || x % 16 == 0) return {90, 55, 30, 255};
            return Shade({170, 115, 60, 255}, n);
        }
        case kSpikes: {
            // Four steel teeth standing on the tile's bottom edge.
            const int local = x % 8;
            const int height = 28 - std::abs(local * 2 - 7) * 4;
            if (kTile - y <= height) return Shade({200, 205, 215, 255}, (local < 4 ? 20 : -20) + n);
            return kClear;
        }
        case kPitFloor:
            return Shade({40, 20, 50, 255}, n / 2);
        case kBackStone: {
            const bool mortar = y % 16 == 0 || (x + (y / 16) * 16) % 32 == 0;
            return mortar ? Rgba{60, 70, 95, 255} : Shade({85, 95, 125, 255}, n / 2);
        }
        default:
            return kClear;
    }
}

Rgba TileSheet(int x, int y) {
    return TilePixel((y / kTile) * kTileColumns + x / kTile, x % kTile, y % kTile);
}

// ---- Sky behind the level: a gradient with two ranges of hills.
Rgba Sky(int x, int y) {
    const int farHill =
        70 + (Noise(x / 24, 0, 3) % 16) + ((x % 48) < 24 ? x % 24 : 24 - x % 24) / 2;
    const int nearHill = 92 + (Noise(x / 16, 1, 5) % 12);
    if (y > nearHill) return {52, 84, 80, 255};
    if (y > farHill) return {88, 120, 130, 255};
    const int t = y * 255 / 128;
    return {static_cast<std::uint8_t>(120 + t / 4), static_cast<std::uint8_t>(170 + t / 6),
            static_cast<std::uint8_t>(235 - t / 10), 255};
}

// ---- The player's body: 8 x 4 cells of 64 pixels (see Player.json for the clips).
// Row 0: Idle 0-3, Brake 4-5, JumpAnticipation 6-7. Row 1: Run 0-7. Row 2: JumpUp 0-1,
// JumpDown 2-3, JumpLanding 4-5, Win 6-7. Row 3: Hurt 0-1, HurtGround 2-3.
constexpr int kCell = 64;

struct Pose {
    int bob = 0;       // whole body up (negative) or down
    int frontLeg = 0;  // horizontal swing of the legs
    int backLeg = 0;
    int crouch = 0;  // shorter legs
    int lean = 0;    // torso shift forward
    bool hurt = false;
    bool lying = false;
    bool cheer = false;
};

Pose PoseOf(int column, int row) {
    Pose p;
    switch (row) {
        case 0:
            if (column < 4)
                p.bob = (column == 1 || column == 2) ? 1 : 0;
            else if (column < 6) {
                p.lean = -2;
                p.frontLeg = 5;
                p.backLeg = 2;
            } else {
                p.crouch = column == 6 ? 4 : 7;
                p.bob = p.crouch;
            }
            break;
        case 1: {
            static const int swing[8] = {8, 5, 0, -5, -8, -5, 0, 5};
            p.frontLeg = swing[column];
            p.backLeg = -swing[column];
            p.bob = (column % 4 == 1 || column % 4 == 2) ? -1 : 0;
            p.lean = 2;
            break;
        }
        case 2:
            if (column < 2) {
                p.frontLeg = 5;
                p.backLeg = -3;
                p.crouch = 3;
                p.bob = -2;
            } else if (column < 4) {
                p.frontLeg = 3;
                p.backLeg = -5;
            } else if (column < 6) {
                p.crouch = column == 4 ? 6 : 3;
                p.bob = p.crouch;
            } else
                p.cheer = true;
            break;
        default:
            p.hurt = true;
            p.lying = column >= 2;
            p.frontLeg = column % 2 ? 4 : -4;
            break;
    }
    return p;
}

Rgba Body(int x, int y) {
    const int column = x / kCell, row = y / kCell;
    int px = x % kCell, py = y % kCell;
    const Pose p = PoseOf(column, row);
    if (p.lying) {
        // Lying on the ground: the upright figure turned on its side.
        const int sx = py, sy = kCell - 1 - px;
        px = sx + 14;
        py = sy + 18;
        if (px >= kCell || py >= kCell) return kClear;
    }
    const Rgba suit = p.hurt ? Rgba{200, 60, 60, 255} : Rgba{30, 150, 150, 255};
    const Rgba trim{240, 140, 30, 255};
    const Rgba skin{240, 200, 160, 255};
    const Rgba boots{50, 40, 60, 255};
    const int top = 4 + p.bob;
    const int legTop = 44 + p.bob;
    const int feet = 60;
    // Head with a visor looking right.
    if (InDisc(px, py, 32 + p.lean, top + 10, 9)) {
        if (Inside(px, py, 34 + p.lean, top + 7, 42 + p.lean, top + 12)) {
            return p.hurt ? Rgba{30, 30, 30, 255} : Rgba{20, 40, 80, 255};
        }
        return skin;
    }
    // Arms up when cheering.
    if (p.cheer &&
        (Inside(px, py, 20, top + 2, 24, top + 22) || Inside(px, py, 40, top + 2, 44, top + 22))) {
        return skin;
    }
    // Torso with a belt.
    if (Inside(px, py, 24 + p.lean, top + 19, 41 + p.lean, legTop)) {
        if (py >= legTop - 4) return trim;
        return Shade(suit, px < 28 + p.lean ? -25 : 0);
    }
    // Legs: back leg darker, each ending in a boot.
    const int legLength = feet - legTop - p.crouch;
    for (int leg = 0; leg < 2; ++leg) {
        const int swing = leg == 0 ? p.backLeg : p.frontLeg;
        const int x0 = (leg == 0 ? 26 : 33) + swing;
        if (legLength > 0 && Inside(px, py, x0, legTop, x0 + 6, legTop + legLength + p.crouch)) {
            if (py >= feet - 5 + (p.crouch > 0 ? 0 : 0)) return boots;
            return Shade(suit, leg == 0 ? -40 : -10);
        }
    }
    return kClear;
}

// ---- The arm: 4 cells of 64 pixels, shoulder at the centre, pointing right.
// Cell 0: Idle; cells 1-3: shoot (recoil and a muzzle flash).
Rgba Arm(int x, int y) {
    const int frame = x / kCell;
    const int px = x % kCell, py = y % kCell;
    const int recoil = frame == 1 ? -3 : frame == 2 ? -2 : 0;
    if (InDisc(px, py, 32, 32, 4)) return {30, 150, 150, 255};
    if (Inside(px, py, 32, 29, 46 + recoil, 35)) return {240, 200, 160, 255};
    if (Inside(px, py, 44 + recoil, 27, 58 + recoil, 33)) return {70, 75, 90, 255};
    if (Inside(px, py, 46 + recoil, 33, 50 + recoil, 38)) return {50, 55, 70, 255};
    if (frame >= 1 && frame <= 2 && InDisc(px, py, 61 + recoil, 30, frame == 1 ? 5 : 3)) {
        return {255, 230, 120, 255};
    }
    return kClear;
}

// ---- The bullet: 2 cells of 16 pixels, a glowing orb that pulses.
Rgba Bullet(int x, int y) {
    const int frame = x / 16;
    const int px = x % 16, py = y % 16;
    const int d2 = (px * 2 - 15) * (px * 2 - 15) + (py * 2 - 15) * (py * 2 - 15);
    const int core = frame == 0 ? 40 : 60;
    if (d2 <= core) return {255, 255, 230, 255};
    if (d2 <= 150) return {255, 220, 80, 255};
    if (d2 <= 225) return {255, 150, 40, static_cast<std::uint8_t>(frame == 0 ? 160 : 110)};
    return kClear;
}

// A white disc whose alpha falls off with the squared distance from the centre: particles tint
// it with their own colour, and it stays soft at any size.
Rgba SoftDot(int x, int y) {
    const int d2 = (x * 2 - 31) * (x * 2 - 31) + (y * 2 - 31) * (y * 2 - 31);
    constexpr int kEdge = 32 * 32;
    if (d2 >= kEdge) return kClear;
    return {255, 255, 255, static_cast<std::uint8_t>(255 * (kEdge - d2) / kEdge)};
}

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

}  // namespace

int main() {
    bool ok = true;
    ok &= Write("Assets/Textures/Level/Level1Tiles.png", kTile * kTileColumns, kTile * kTileRows,
                TileSheet);
    ok &= Write("Assets/Textures/Level/Level1Sky.png", 256, 128, Sky);
    ok &= Write("Assets/Textures/Player/Body.png", kCell * 8, kCell * 4, Body);
    ok &= Write("Assets/Textures/Player/Arm.png", kCell * 4, kCell, Arm);
    ok &= Write("Assets/Textures/Player/Bullet.png", 32, 16, Bullet);
    ok &= Write("Assets/Textures/Fx/SoftDot.png", 32, 32, SoftDot);
    ok &= WriteMap();
    return ok ? 0 : 1;
}
