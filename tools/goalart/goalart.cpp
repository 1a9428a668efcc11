// Writes the textures of Level1's goals under Assets/Textures/Goals from fixed integer formulas,
// so every run writes the same bytes. Run from the repository root.

#include <cstdint>
#include <string>

#include "tools/paint/Paint.h"

namespace {

using namespace paint;

// ---- Door: a sheet of 8 cells of 64 x 96 pixels. Cells 0-3 open the door (the wooden leaf
// swings in, narrowing), cells 4-7 close it again; cell 3 is wide open, cell 7 shut.
constexpr int kDoorW = 64;
constexpr int kDoorH = 96;

Rgba DoorCell(int cell, int x, int y) {
    const int open = cell < 4 ? cell : 7 - cell;  // 0 shut .. 3 wide open
    const bool arch = y >= 8 || InDisc(x, y, kDoorW / 2, 24, kDoorW / 2 - 2);
    const bool frame = x < 8 || x >= kDoorW - 8 || y < 8;
    if (!arch) return kClear;
    if (frame) return Shade({120, 115, 110, 255}, Noise(x / 4, y / 4, 3) / 20 - 6);
    const int leaf = (kDoorW - 16) * (3 - open) / 3;  // width of the closed part
    if (x - 8 < leaf) {
        const bool plank = (x - 8) % 12 == 0 || y == 30 || y == 70;
        return plank ? Rgba{70, 40, 20, 255} : Shade({140, 90, 45, 255}, Noise(x, y / 6, 5) / 32);
    }
    // Through the opening: a warm light beyond.
    const int glow = 255 - y;
    return {255, static_cast<std::uint8_t>(200 + glow / 8), 120, 255};
}

// ---- Checkpoint: 4 cells of 32 x 96 pixels; a pole whose banner rises from the foot (cell 0)
// to the top (cell 3).
constexpr int kFlagW = 32;
constexpr int kFlagH = 96;

Rgba FlagCell(int cell, int x, int y) {
    if (x >= 4 && x < 8) return y < 4 ? Rgba{230, 200, 80, 255} : Rgba{200, 200, 210, 255};
    if (y >= kFlagH - 6 && x < 14) return {90, 90, 95, 255};
    const int top = 6 + (3 - cell) * 22;
    if (x >= 8 && y >= top && y < top + 18 && x < 8 + 22 - (y - top) / 3) {
        const bool stripe = (y - top) / 6 == 1;
        return stripe ? Rgba{250, 250, 250, 255} : Rgba{40, 170, 90, 255};
    }
    return kClear;
}

// ---- Teapot, 48 x 48.
Rgba Teapot(int x, int y) {
    const bool body = InDisc(x, y, 24, 28, 14) && y >= 16;
    const bool lid = InDisc(x, y, 24, 16, 6) && y <= 16;
    const bool knob = InDisc(x, y, 24, 9, 2);
    const bool spout = x >= 36 && x <= 45 && y >= 18 + (45 - x) / 2 && y <= 26 + (45 - x) / 3;
    const bool handle = InDisc(x, y, 9, 26, 8) && !InDisc(x, y, 9, 26, 5) && x < 12;
    if (!(body || lid || knob || spout || handle)) return kClear;
    const int light = InDisc(x, y, 19, 22, 4) ? 60 : 0;
    return Shade({230, 180, 40, 255}, light - y / 3);
}

// ---- Death wall, 64 x 128: dark, churning smoke with glowing embers; alpha fades at the
// leading edge (right).
Rgba Wall(int x, int y) {
    const int swirl = (Noise(x / 6, (y + x / 3) / 6, 11) + Noise(x / 3, y / 3, 12)) / 2;
    const int edge = x > 44 ? (64 - x) * 12 : 255;
    const bool ember = Noise(x, y, 13) > 250;
    if (ember) return {255, 140, 40, static_cast<std::uint8_t>(edge)};
    return {static_cast<std::uint8_t>(30 + swirl / 5), 10,
            static_cast<std::uint8_t>(25 + swirl / 6),
            static_cast<std::uint8_t>(edge * (200 + swirl / 5) / 255)};
}

// ---- Guidance arrow, 64 x 32, pointing along +x.
Rgba Arrow(int x, int y) {
    const int dy = y < 16 ? 15 - y : y - 16;
    const bool shaft = x >= 4 && x < 40 && dy < 5;
    const bool head = x >= 36 && x < 62 && dy <= (62 - x) * 15 / 26;
    if (!(shaft || head)) return kClear;
    const bool rim = dy >= 4 && shaft && x < 38;
    return rim ? Rgba{120, 60, 0, 255} : Rgba{255, 190, 40, 235};
}

// ---- Cloud, 96 x 48.
Rgba Cloud(int x, int y) {
    const bool puff = InDisc(x, y, 28, 30, 16) || InDisc(x, y, 52, 22, 20) ||
                      InDisc(x, y, 74, 32, 14) || (y >= 30 && y < 44 && x >= 20 && x < 80);
    if (!puff) return kClear;
    const int shade = y > 34 ? -25 : 0;
    return Shade({245, 245, 250, 210}, shade);
}

// ---- Floating platform, 96 x 24: a mossy stone slab with a glowing rune underneath.
Rgba Slab(int x, int y) {
    if (y >= 18 && (x < 36 || x >= 60)) return kClear;
    if (y >= 18) return {120, 220, 255, 200};
    if (y < 4) return Shade({80, 160, 70, 255}, Noise(x, y, 21) / 32);
    return Shade({130, 125, 120, 255}, Noise(x / 3, y / 3, 22) / 16 - 8);
}

}  // namespace

int main() {
    bool ok = true;
    ok &= Write("Assets/Textures/Goals/Door.png", kDoorW * 8, kDoorH,
                [](int x, int y) { return DoorCell(x / kDoorW, x % kDoorW, y); });
    ok &= Write("Assets/Textures/Goals/Checkpoint.png", kFlagW * 4, kFlagH,
                [](int x, int y) { return FlagCell(x / kFlagW, x % kFlagW, y); });
    ok &= Write("Assets/Textures/Goals/Teapot.png", 48, 48, Teapot);
    ok &= Write("Assets/Textures/Goals/DeathWall.png", 64, 128, Wall);
    ok &= Write("Assets/Textures/Goals/Arrow.png", 64, 32, Arrow);
    ok &= Write("Assets/Textures/Goals/Cloud.png", 96, 48, Cloud);
    ok &= Write("Assets/Textures/Goals/FloatingSlab.png", 96, 24, Slab);
    return ok ? 0 : 1;
}
