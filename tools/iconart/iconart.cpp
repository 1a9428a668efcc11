// Writes the desktop icon, packaging/icons/halvex-<size>.png, for each size the package
// installs. The picture is drawn once in a 256-unit square and sampled 4 x 4 times per pixel,
// so the small sizes stay smooth; all integer arithmetic, so a run writes the same bytes.

#include <array>
#include <string>

#include "tools/paint/Paint.h"

namespace {

using namespace paint;

constexpr int kUnits = 256;
constexpr int kSamples = 4;

constexpr Rgba kNavyTop{24, 28, 66, 255};
constexpr Rgba kNavyBottom{44, 54, 118, 255};
constexpr Rgba kOrange{255, 140, 0, 255};
constexpr Rgba kOrangeLight{255, 186, 72, 255};
constexpr Rgba kTeal{0, 168, 160, 255};
constexpr Rgba kInk{14, 16, 38, 255};
constexpr Rgba kGrass{70, 170, 80, 255};
constexpr Rgba kSoil{120, 78, 42, 255};

// The tile behind everything: a square with rounded corners.
bool InTile(int u, int v) {
    constexpr int kInset = 8, kRadius = 44;
    if (!Inside(u, v, kInset, kInset, kUnits - kInset, kUnits - kInset)) return false;
    const int cx = u < kUnits / 2 ? kInset + kRadius : kUnits - kInset - kRadius;
    const int cy = v < kUnits / 2 ? kInset + kRadius : kUnits - kInset - kRadius;
    const bool corner = (u < kInset + kRadius || u >= kUnits - kInset - kRadius) &&
                        (v < kInset + kRadius || v >= kUnits - kInset - kRadius);
    return !corner || InDisc(u, v, cx, cy, kRadius);
}

// The letter: two posts and a bar, leaning a little forward as if running.
bool InLetter(int u, int v, int grow) {
    const int lean = (200 - v) / 8;
    const int x = u - lean;
    const bool post =
        Inside(v, 0, 60 - grow, 0, 200 + grow, 1) &&
        (Inside(x, 0, 50 - grow, 0, 92 + grow, 1) || Inside(x, 0, 128 - grow, 0, 170 + grow, 1));
    const bool bar = Inside(x, v, 50 - grow, 114 - grow, 170 + grow, 142 + grow);
    return post || bar;
}

Rgba Mix(Rgba a, Rgba b, int t, int of) {
    auto lerp = [t, of](int p, int q) { return static_cast<std::uint8_t>(p + (q - p) * t / of); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a)};
}

Rgba Icon(int u, int v) {
    if (!InTile(u, v)) return kClear;
    if (InLetter(u, v, 0)) return v < 80 || u - (200 - v) / 8 < 60 ? kOrangeLight : kOrange;
    if (InLetter(u, v, 7)) return kInk;
    if (InDisc(u, v, 196, 74, 30)) return InDisc(u, v, 188, 66, 10) ? Shade(kTeal, 50) : kTeal;
    if (v >= 208) return v < 220 ? Shade(kGrass, (u / 16) % 2 == 0 ? 12 : 0) : kSoil;
    // A few stars in the sky.
    if (Noise(u / 6, v / 6, 7) > 250 && v < 170) return {230, 230, 255, 255};
    return Mix(kNavyTop, kNavyBottom, v, kUnits);
}

// One pixel of a size x size icon: the average of its samples, weighted by their alpha.
Rgba Pixel(int size, int x, int y) {
    int r = 0, g = 0, b = 0, a = 0;
    for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
            const int u = ((x * kSamples + i) * 2 + 1) * kUnits / (size * kSamples * 2);
            const int v = ((y * kSamples + j) * 2 + 1) * kUnits / (size * kSamples * 2);
            const Rgba c = Icon(u, v);
            r += c.r * c.a;
            g += c.g * c.a;
            b += c.b * c.a;
            a += c.a;
        }
    }
    if (a == 0) return kClear;
    return {static_cast<std::uint8_t>(r / a), static_cast<std::uint8_t>(g / a),
            static_cast<std::uint8_t>(b / a), static_cast<std::uint8_t>(a / (kSamples * kSamples))};
}

}  // namespace

int main() {
    constexpr std::array<int, 7> kSizes{16, 24, 32, 48, 64, 128, 256};
    bool ok = true;
    for (const int size : kSizes) {
        const std::string path = "packaging/icons/halvex-" + std::to_string(size) + ".png";
        ok = Write(path, size, size, [size](int x, int y) { return Pixel(size, x, y); }) && ok;
    }
    return ok ? 0 : 1;
}
