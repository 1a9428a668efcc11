#include "tools/levelart/Tiles.h"

#include <cstdlib>

namespace levelart {

namespace {

Rgba Outline(int x, int y, Rgba c) {
    const bool edge = x < 2 || y < 2 || x >= kTile - 2 || y >= kTile - 2;
    return edge ? c : Rgba{c.r, c.g, c.b, 70};
}

}  // namespace

Rgba LogicTile(int index, int x, int y) {
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
        default:
            return kClear;
    }
}

Rgba MeadowTile(int index, int x, int y) {
    const int n = Noise(x, y, index) / 16 - 8;
    switch (index) {
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
            // Four low steel teeth standing on the tile's bottom edge.
            const int local = x % 8;
            const int height = 15 - std::abs(local * 2 - 7) * 2;
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
            return LogicTile(index, x, y);
    }
}

Painter Sheet(TilePainter tile) {
    return [tile](int x, int y) {
        return tile((y / kTile) * kTileColumns + x / kTile, x % kTile, y % kTile);
    };
}

}  // namespace levelart
