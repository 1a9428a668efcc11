// Level2's crystal cave: violet rock with cyan crystal veins, crystal ledges and shards, and a
// dark cavern backdrop with hanging stalactites and glimmering crystals.

#include <cstdlib>

#include "tools/levelart/Sprites.h"
#include "tools/levelart/Tiles.h"

namespace levelart {

namespace {

const Rgba kRock{70, 52, 96, 255};
const Rgba kRockDark{48, 36, 70, 255};
const Rgba kCrystal{90, 225, 235, 255};
const Rgba kCrystalPale{190, 250, 255, 255};

// Thin diagonal veins, a few pixels wide, that wander with the noise.
bool Vein(int x, int y, int seed) {
    const int d = (x + y * 2 + Noise(x / 8, y / 8, seed) / 32) % 37;
    return d == 0;
}

}  // namespace

Rgba CaveTile(int index, int x, int y) {
    const int n = Noise(x, y, index + 40) / 16 - 8;
    switch (index) {
        case kGrass: {
            // A rim of small crystals standing on the rock.
            const int local = x % 8;
            const int tip = 7 - std::abs(local * 2 - 7) + (Noise(x / 8, 0, 3) % 3);
            if (y < 8 && 8 - y <= tip) return Shade(local < 4 ? kCrystalPale : kCrystal, n / 2);
            if (y < 8) return kClear;
            if (y < 11) return Shade(kRockDark, n);
            return Vein(x, y, 5) ? Shade(kCrystal, n - 30) : Shade(kRock, n);
        }
        case kDirt:
            return Vein(x, y, 9) ? Shade(kCrystal, n - 40)
                                 : Shade(Noise(x / 4, y / 4, 11) < 50 ? kRockDark : kRock, n);
        case kPlank: {
            // A slab of pale crystal with a bright top edge.
            if (y >= 12) return kClear;
            if (y < 2) return kCrystalPale;
            if (y >= 10 || x % 16 == 0) return {40, 120, 150, 255};
            return Shade({80, 190, 215, 230}, n + (x + y) % 7 * 3);
        }
        case kSpikes: {
            // Three pink shards of different heights.
            const int local = x % 11;
            const int tall = 16 - (x / 11) % 2 * 4;
            const int height = tall - std::abs(local * 2 - 10) * tall / 11;
            if (kTile - y <= height) return Shade({240, 110, 200, 255}, (local < 5 ? 25 : -15) + n);
            return kClear;
        }
        case kPitFloor:
            return Shade({20, 10, 40, 255}, (Noise(x / 3, y / 3, 17) > 240 ? 120 : 0) + n / 2);
        case kBackStone: {
            // A crystal column: darker faces with a bright seam down the middle.
            if (x == 15 || x == 16) return Shade({70, 140, 160, 255}, n / 2);
            return Shade(x < 15 ? Rgba{45, 60, 95, 255} : Rgba{35, 45, 75, 255}, n / 2);
        }
        default:
            return LogicTile(index, x, y);
    }
}

Rgba CaveSky(int x, int y) {
    // Stalactites hang from the ceiling; their length changes every 12 pixels.
    const int column = x / 12, local = x % 12;
    const int length = 24 + Noise(column, 0, 21) % 44;
    if (y < length - std::abs(local * 2 - 11) * length / 12) return {28, 20, 44, 255};
    // A ridge of rock at the bottom, and glimmering crystals in the dark.
    const int ridge = 100 + Noise(x / 10, 1, 23) % 14;
    if (y > ridge) return {34, 26, 54, 255};
    if (Noise(x, y, 25) > 254) return {150, 240, 255, 255};
    const int t = y * 255 / 128;
    return {static_cast<std::uint8_t>(20 + t / 12), static_cast<std::uint8_t>(24 + t / 8),
            static_cast<std::uint8_t>(52 + t / 5), 255};
}

}  // namespace levelart
