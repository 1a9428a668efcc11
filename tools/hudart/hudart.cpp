// Writes the HUD's clock and life icons, the texture variants of the background props and the
// sheets of the animated decoration, under Assets/Textures/, from fixed integer formulas, so
// every run writes the same bytes. Run from the repository root.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/paint/Paint.h"

namespace {

using namespace paint;

int Dist2(int x, int y, int cx, int cy) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy);
}

// ---- The clock: 3 x 4 cells of 64 pixels. Cell (column, row) of rows 0-1 shows
// 1 + column + 3 row sixths of the time left as a filled pie from twelve o'clock clockwise:
// (0, 0) one sixth, (2, 1) the full clock. Rows 2-3 repeat the faces in the warning look.
constexpr int kClockCell = 64;

/// Sixths of the dial (0..6, fractional) at a pixel offset from the centre, from twelve
/// o'clock clockwise. Integer-stable: atan2 of whole numbers.
double DialSixths(int dx, int dy) {
    double angle = std::atan2(static_cast<double>(dx), static_cast<double>(-dy));
    if (angle < 0) angle += 2.0 * 3.14159265358979;
    return angle / (2.0 * 3.14159265358979) * 6.0;
}

Rgba Clock(int x, int y) {
    const int column = x / kClockCell, row = y / kClockCell;
    const bool warning = row >= 2;
    const int sixths = 1 + column + 3 * (row % 2);
    const int px = x % kClockCell, py = y % kClockCell;
    const int cx = 32, cy = 34;
    const int d2 = Dist2(px, py, cx, cy);
    const Rgba rim = warning ? Rgba{200, 30, 30, 255} : Rgba{40, 50, 70, 255};
    const Rgba face = warning ? Rgba{255, 225, 215, 255} : Rgba{245, 240, 225, 255};
    const Rgba pie = warning ? Rgba{235, 80, 40, 255} : Rgba{70, 130, 215, 255};
    // The bell on top, in the rim's colour.
    if (Inside(px, py, 28, 3, 37, 8) || Inside(px, py, 30, 8, 35, 11)) return rim;
    if (d2 > 29 * 29) return kClear;
    if (d2 > 24 * 24) return rim;
    // Sixth ticks on the face.
    const double at = DialSixths(px - cx, py - cy);
    const double nearTick = std::abs(at - std::round(at));
    if (d2 > 19 * 19 && nearTick < 0.06) return rim;
    if (d2 <= 2 * 2) return rim;
    if (d2 <= 19 * 19 && at < sixths) {
        // The warning pie is striped so that it reads without colour too.
        if (warning && ((px + py) / 4) % 2 == 0) return Shade(pie, 35);
        return pie;
    }
    return face;
}

// ---- Life icons, 32 pixels: the player's head with its visor; the empty icon is the same
// outline with nothing inside.
Rgba LifeIcon(int x, int y, bool full) {
    const int d2 = Dist2(x, y, 16, 16);
    const Rgba outline{20, 25, 35, 255};
    if (d2 > 14 * 14) return kClear;
    if (d2 > 11 * 11) return outline;
    if (!full) return {20, 25, 35, 90};
    if (Inside(x, y, 15, 11, 26, 18)) return {20, 40, 80, 255};
    if (Inside(x, y, 17, 12, 20, 14)) return {200, 230, 255, 255};
    return y > 21 ? Rgba{240, 140, 30, 255} : Rgba{240, 200, 160, 255};
}

// ---- Bushes, 64 x 48: a few overlapping leaf blobs standing on the bottom edge.
Rgba Bush(int x, int y, int variant) {
    struct Blob {
        int cx, cy, r;
    };
    static const Blob kBlobs[3][4] = {
        {{20, 34, 14}, {36, 26, 17}, {50, 35, 12}, {0, 0, 0}},
        {{16, 36, 12}, {30, 30, 15}, {45, 28, 14}, {56, 38, 9}},
        {{32, 26, 20}, {18, 38, 10}, {47, 38, 10}, {0, 0, 0}},
    };
    const Rgba leaf = variant == 1 ? Rgba{70, 140, 55, 255} : Rgba{55, 125, 65, 255};
    for (const Blob& b : kBlobs[variant]) {
        if (b.r == 0) continue;
        const int d2 = Dist2(x, y, b.cx, b.cy);
        if (d2 > b.r * b.r) continue;
        // Lit from the top left; darker rim.
        const int light = (b.cx - x) + (b.cy - y);
        if (d2 > (b.r - 2) * (b.r - 2)) return Shade(leaf, -45);
        // Variant 2 carries red berries, variant 1 small yellow flowers.
        if (variant == 2 && Noise(x / 3, y / 3, 11) < 14) return {200, 40, 50, 255};
        if (variant == 1 && Noise(x / 3, y / 3, 12) < 10) return {240, 220, 80, 255};
        return Shade(leaf, light / 2 + Noise(x, y, variant) / 32 - 4);
    }
    return kClear;
}

// ---- Crates, 48 pixels: plain boards, an X brace, and a dark crate with metal bands.
Rgba Crate(int x, int y, int variant) {
    const Rgba wood = variant == 2 ? Rgba{110, 75, 45, 255} : Rgba{175, 120, 65, 255};
    const Rgba frame = variant == 2 ? Rgba{80, 85, 95, 255} : Rgba{105, 65, 35, 255};
    if (x < 4 || y < 4 || x >= 44 || y >= 44) return frame;
    if (variant == 1 && (std::abs(x - y) < 3 || std::abs(x + y - 47) < 3)) return frame;
    if (variant == 2 && (std::abs(y - 16) < 2 || std::abs(y - 32) < 2)) {
        // Dim flat bolts on the middle row: bright upright studs read as a row of spikes.
        return (y % 16 == 0 && x % 8 >= 4 && x % 8 < 6) ? Rgba{120, 125, 135, 255} : frame;
    }
    if (y % 10 == 4) return Shade(wood, -35);
    return Shade(wood, Noise(x / 2, y, variant + 20) / 24 - 5);
}

// ---- Torch, 4 cells of 32 x 64: a wall bracket and a flame that flickers.
Rgba Torch(int x, int y) {
    const int frame = x / 32;
    const int px = x % 32, py = y % 64;
    if (Inside(px, py, 13, 30, 19, 60)) return Shade({100, 65, 40, 255}, (px < 15) ? -20 : 0);
    if (Inside(px, py, 10, 28, 22, 32)) return {70, 70, 80, 255};
    static const int kLean[4] = {0, 2, -1, 1};
    static const int kHeight[4] = {0, 3, -2, 2};
    const int fx = 16 + kLean[frame];
    const int top = 6 - kHeight[frame];
    if (py < top || py >= 30) return kClear;
    // A teardrop: narrow at the top, round at the base.
    const int t = py - top;
    const int half = t < 12 ? t / 2 + 1 : 7 - (t - 12) / 4;
    const int dx = std::abs(px - (fx - (kLean[frame] * (24 - t)) / 24));
    if (half <= 0 || dx > half) return kClear;
    if (dx * 3 <= half && t > 8) return {255, 250, 200, 255};
    if (dx * 3 <= half * 2) return {255, 200, 60, 255};
    return {240, 110, 30, 230};
}

// ---- Flag, 4 cells of 64: a pole and a banner waving in the wind.
Rgba Flag(int x, int y) {
    const int frame = x / 64;
    const int px = x % 64, py = y % 64;
    if (Inside(px, py, 6, 4, 10, 64)) return {150, 150, 160, 255};
    if (Dist2(px, py, 8, 4) <= 9) return {230, 200, 60, 255};
    const double wave = std::sin((px - 10) * 0.18 - frame * 1.5708) * (px - 10) / 12.0;
    const int offset = static_cast<int>(std::lround(wave));
    const int top = 8 + offset, bottom = 30 + offset;
    if (px < 10 || px >= 58 || py < top || py >= bottom) return kClear;
    const bool stripe = (py - top) >= 9 && (py - top) < 13;
    const Rgba cloth = stripe ? Rgba{245, 240, 225, 255} : Rgba{200, 45, 60, 255};
    return Shade(cloth, offset * 6);
}

// ---- Water, 4 cells of 128 x 96: a rippling surface over deep water.
Rgba Water(int x, int y) {
    const int frame = x / 128;
    const int px = x % 128, py = y % 96;
    const double crest = 8.0 + 3.0 * std::sin((px + frame * 8) * (2.0 * 3.14159265358979 / 32.0));
    const int surface = static_cast<int>(std::lround(crest));
    if (py < surface) return kClear;
    if (py < surface + 3) return {200, 235, 255, 230};
    const int depth = py - surface;
    const int glint = ((px + frame * 8 + py * 3) % 41 == 0 && depth < 30) ? 50 : 0;
    return Shade({40, 110, 170, static_cast<std::uint8_t>(std::min(250, 190 + depth))},
                 glint - depth / 2);
}

}  // namespace

int main() {
    bool ok = true;
    ok &= Write("Assets/Textures/HUD/Clock.png", kClockCell * 3, kClockCell * 4, Clock);
    ok &= Write("Assets/Textures/HUD/LifeFull.png", 32, 32,
                [](int x, int y) { return LifeIcon(x, y, true); });
    ok &= Write("Assets/Textures/HUD/LifeEmpty.png", 32, 32,
                [](int x, int y) { return LifeIcon(x, y, false); });
    ok &= Write("Assets/Textures/HUD/Blank.png", 4, 4, [](int, int) { return kClear; });
    for (int v = 0; v < 3; ++v) {
        const std::string n = std::to_string(v + 1);
        ok &= Write("Assets/Textures/Props/Bushes/Bush" + n + ".png", 64, 48,
                    [v](int x, int y) { return Bush(x, y, v); });
        ok &= Write("Assets/Textures/Props/Crates/Crate" + n + ".png", 48, 48,
                    [v](int x, int y) { return Crate(x, y, v); });
    }
    ok &= Write("Assets/Textures/Deco/Torch.png", 32 * 4, 64, Torch);
    ok &= Write("Assets/Textures/Deco/Flag.png", 64 * 4, 64, Flag);
    ok &= Write("Assets/Textures/Deco/Water.png", 128 * 4, 96, Water);
    return ok ? 0 : 1;
}
