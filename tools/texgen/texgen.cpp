// Writes the game's generated textures as PNG files under the folder given on the command line
// (normally Assets/Textures). Every picture is computed from integer arithmetic only, so the
// same program writes the same bytes on every machine.

#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/paint/Paint.h"

namespace {

using namespace paint;

constexpr Rgba kWhite{255, 255, 255, 255};

// Colours of the splash logo. The end-to-end test looks for these.
constexpr Rgba kLogoPanel{20, 30, 70, 255};
constexpr Rgba kLogoOrange{255, 140, 0, 255};
constexpr Rgba kLogoTeal{0, 170, 160, 255};

/// Writes `name`.png under `root`.
bool Write(const std::filesystem::path& root, const std::string& name, int width, int height,
           const Painter& paint) {
    return paint::Write((root / (name + ".png")).string(), width, height, paint);
}

// 256 x 128: a navy panel with an orange "H" on the left and a teal disc on the right.
Rgba Logo(int x, int y) {
    const bool leftBar = Inside(x, y, 24, 24, 48, 104);
    const bool rightBar = Inside(x, y, 80, 24, 104, 104);
    const bool crossBar = Inside(x, y, 48, 56, 80, 72);
    if (leftBar || rightBar || crossBar) return kLogoOrange;
    const int dx = 2 * x + 1 - 2 * 192;
    const int dy = 2 * y + 1 - 2 * 64;
    if (dx * dx + dy * dy <= 4 * 40 * 40) return kLogoTeal;
    return kLogoPanel;
}

// 64 x 64 debug outlines, white on clear, two pixels wide.
Rgba BoxOutline(int x, int y) {
    const bool edge = x < 2 || y < 2 || x >= 62 || y >= 62;
    return edge ? kWhite : kClear;
}

Rgba CircleOutline(int x, int y) {
    const int dx = 2 * x + 1 - 64;
    const int dy = 2 * y + 1 - 64;
    const int d2 = dx * dx + dy * dy;
    return (d2 <= 64 * 64 && d2 >= 60 * 60) ? kWhite : kClear;
}

// Points along +x from the centre of the left edge to the right edge: a shaft and a head.
Rgba Arrow(int x, int y) {
    const int fromAxis = y < 32 ? 31 - y : y - 32;
    if (x < 44) return fromAxis < 2 ? kWhite : kClear;
    return fromAxis < (64 - x) ? kWhite : kClear;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: texgen <textures folder>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    bool ok = true;
    ok &= Write(root, "Splash/Logo", 256, 128, Logo);
    ok &= Write(root, "ProgrammerArt/colliderBoxDebugOutline", 64, 64, BoxOutline);
    ok &= Write(root, "ProgrammerArt/colliderCircleDebugOutline", 64, 64, CircleOutline);
    ok &= Write(root, "ProgrammerArt/velocityDebugArrow", 64, 64, Arrow);
    return ok ? 0 : 1;
}
