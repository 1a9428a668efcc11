// Writes the key-cap and mouse pictures the menus explain the controls with, under
// Assets/Textures/UI/Keys/, from fixed integer formulas and a small built-in letter grid, so
// every run writes the same bytes. Run from the repository root.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/paint/Paint.h"

namespace {

using namespace paint;

constexpr Rgba kOutline{36, 40, 52, 255};
constexpr Rgba kSide{138, 144, 162, 255};
constexpr Rgba kInk{34, 38, 52, 255};
constexpr Rgba kPressed{240, 150, 40, 255};

/// Inside the rectangle [x0, x1) x [y0, y1) with corners rounded by `r` pixels.
bool InRounded(int x, int y, int x0, int y0, int x1, int y1, int r) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const int cx = x < x0 + r ? x0 + r : x >= x1 - r ? x1 - r - 1 : x;
    const int cy = y < y0 + r ? y0 + r : y >= y1 - r ? y1 - r - 1 : y;
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

// ---- Letters: rows of '#' on a grid, drawn `scale` pixels per cell.
using Glyph = std::vector<std::string>;

Glyph Letter(char c) {
    switch (c) {
        case 'A':
            return {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
        case 'C':
            return {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."};
        case 'D':
            return {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."};
        case 'E':
            return {"#####", "#....", "#....", "####.", "#....", "#....", "#####"};
        case 'N':
            return {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"};
        case 'P':
            return {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."};
        case 'R':
            return {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};
        case 'S':
            return {".####", "#....", "#....", ".###.", "....#", "....#", "####."};
        case 'T':
            return {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."};
        case 'W':
            return {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"};
        // Arrows: '<' left, '>' right, '^' up.
        case '<':
            return {"...#...", "..##...", ".######", "#######", ".######", "..##...", "...#..."};
        case '>':
            return {"...#...", "...##..", "######.", "#######", "######.", "...##..", "...#..."};
        case '^':
            return {"...#...", "..###..", ".#####.", "#######", "..###..", "..###..", "..###.."};
        default:
            return {};
    }
}

/// Whether pixel (x, y) is ink of `text` drawn centred on (cx, cy), one blank cell between
/// letters.
bool InText(const std::string& text, int scale, int x, int y, int cx, int cy) {
    int width = 0;
    for (char c : text) width += static_cast<int>(Letter(c).at(0).size()) + 1;
    width = (width - 1) * scale;
    const int height = 7 * scale;
    const int left = cx - width / 2, top = cy - height / 2;
    if (x < left || y < top || y >= top + height) return false;
    int pen = left;
    for (char c : text) {
        const Glyph glyph = Letter(c);
        const int w = static_cast<int>(glyph.at(0).size());
        if (x >= pen && x < pen + w * scale) {
            return glyph[(y - top) / scale][(x - pen) / scale] == '#';
        }
        pen += (w + 1) * scale;
    }
    return false;
}

// ---- A key cap: a dark outline, a lit top face and the key's side below it; the face is a
// little darker towards its bottom edge, as if lit from above.
Rgba KeyCap(int x, int y, int w, int h, const std::string& label, int scale) {
    if (!InRounded(x, y, 0, 0, w, h, 10)) return kClear;
    if (!InRounded(x, y, 3, 3, w - 3, h - 3, 8)) return kOutline;
    const int faceBottom = h - 12;
    if (!InRounded(x, y, 6, 5, w - 6, faceBottom, 6)) return kSide;
    if (InText(label, scale, x, y, w / 2, (5 + faceBottom) / 2)) return kInk;
    const int shade = y * 24 / h;
    return {static_cast<std::uint8_t>(244 - shade), static_cast<std::uint8_t>(245 - shade),
            static_cast<std::uint8_t>(250 - shade), 255};
}

bool Key(const std::string& name, int w, const std::string& label, int scale) {
    return Write("Assets/Textures/UI/Keys/" + name + ".png", w, 64,
                 [&](int x, int y) { return KeyCap(x, y, w, 64, label, scale); });
}

// ---- The mouse, 48 x 64: a rounded body, the left button lit in the highlight colour, the
// wheel between the buttons.
Rgba Mouse(int x, int y) {
    if (!InRounded(x, y, 2, 2, 46, 62, 20)) return kClear;
    if (!InRounded(x, y, 5, 5, 43, 59, 17)) return kOutline;
    // The buttons end at y 26; a line parts them from the body and from each other.
    if (y >= 25 && y < 28) return kOutline;
    if (y < 25 && x >= 22 && x < 26) return kOutline;
    if (y < 25 && InRounded(x, y, 20, 9, 28, 22, 3)) return kInk;
    if (y < 25) return x < 24 ? kPressed : Rgba{214, 218, 228, 255};
    const int shade = (y - 28) * 30 / 34;
    return {static_cast<std::uint8_t>(226 - shade), static_cast<std::uint8_t>(229 - shade),
            static_cast<std::uint8_t>(238 - shade), 255};
}

}  // namespace

int main() {
    bool ok = true;
    ok &= Key("KeyA", 64, "A", 5);
    ok &= Key("KeyD", 64, "D", 5);
    ok &= Key("KeyW", 64, "W", 5);
    ok &= Key("KeyLeft", 64, "<", 4);
    ok &= Key("KeyRight", 64, ">", 4);
    ok &= Key("KeyUp", 64, "^", 4);
    ok &= Key("KeySpace", 192, "SPACE", 4);
    ok &= Key("KeyEsc", 96, "ESC", 4);
    ok &= Key("KeyEnter", 160, "ENTER", 4);
    ok &= Write("Assets/Textures/UI/Keys/Mouse.png", 48, 64, Mouse);
    return ok ? 0 : 1;
}
