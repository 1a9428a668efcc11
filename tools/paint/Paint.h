#pragma once
// Pixel painters and the PNG writer the art tools draw with. Everything is integer arithmetic,
// so a tool run again writes the same bytes.

#include <cstdint>
#include <functional>
#include <string>

namespace paint {

struct Rgba {
    std::uint8_t r, g, b, a;
};

constexpr Rgba kClear{0, 0, 0, 0};

using Painter = std::function<Rgba(int x, int y)>;

/// Paints every pixel of a width x height image and writes it as a PNG (creating folders);
/// prints the path written, or an error naming it.
bool Write(const std::string& path, int width, int height, const Painter& paint);

/// `paint` with a one-pixel `ink` ring around each shape: a clear pixel next to an opaque one of
/// the same `cell`-wide column of the sheet takes the ink, so outlines stay inside their cell.
Painter Outlined(Painter paint, int width, int height, int cell, Rgba ink);

inline bool Inside(int x, int y, int x0, int y0, int x1, int y1) {
    return x >= x0 && x < x1 && y >= y0 && y < y1;
}

inline bool InDisc(int x, int y, int cx, int cy, int r) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

/// Inside the ellipse centred at (cx, cy) with radii rx, ry.
inline bool InEllipse(int x, int y, int cx, int cy, int rx, int ry) {
    const long dx = x - cx, dy = y - cy;
    return dx * dx * ry * ry + dy * dy * rx * rx <= static_cast<long>(rx) * rx * ry * ry;
}

/// A small fixed hash for texture noise, 0..255.
inline int Noise(int x, int y, int seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
                 static_cast<unsigned>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 255u);
}

/// Lighter (positive `delta`) or darker, clamped; alpha kept.
inline Rgba Shade(Rgba c, int delta) {
    auto clamp = [](int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    return {clamp(c.r + delta), clamp(c.g + delta), clamp(c.b + delta), c.a};
}

}  // namespace paint
