// Level3's snowy fortress at night: snow-capped stone bricks, iron beams and spikes, and a
// night sky with a moon, stars and white peaks.

#include <cstdlib>

#include "tools/levelart/Sprites.h"
#include "tools/levelart/Tiles.h"

namespace levelart {

namespace {

const Rgba kStone{92, 100, 122, 255};
const Rgba kMortar{52, 58, 76, 255};
const Rgba kSnow{230, 238, 250, 255};

// Bricks of 16 x 8 pixels, every other row shifted by half a brick.
Rgba Brick(int x, int y, int n) {
    const bool mortar = y % 8 == 0 || (x + (y / 8) % 2 * 8) % 16 == 0;
    if (mortar) return kMortar;
    const int shade = Noise((x + (y / 8) % 2 * 8) / 16, y / 8, 31) / 16 - 8;
    return Shade(kStone, shade + n / 2);
}

}  // namespace

Rgba FortressTile(int index, int x, int y) {
    const int n = Noise(x, y, index + 80) / 16 - 8;
    switch (index) {
        case kGrass: {
            // Snow lying in a soft wave on top of the bricks.
            const int drift = 6 + (x * 5 / 7) % 3 - (x % 11 == 0 ? 1 : 0);
            if (y < drift) return Shade(kSnow, n / 2);
            if (y < drift + 2) return {180, 195, 220, 255};
            return Brick(x, y, n);
        }
        case kDirt:
            return Brick(x, y, n);
        case kPlank: {
            // An iron beam with rivets and a thin line of snow.
            if (y >= 12) return kClear;
            if (y < 3) return Shade(kSnow, n / 2);
            if ((x % 8 == 4) && y == 7) return {150, 150, 160, 255};
            if (y >= 10) return {35, 38, 48, 255};
            return Shade({70, 74, 88, 255}, n / 2);
        }
        case kSpikes: {
            // Four rusty iron spikes with icy tips: red, as grey ones vanished against the
            // grey stone.
            const int local = x % 8;
            const int height = 15 - std::abs(local * 2 - 7) * 2;
            if (kTile - y > height) return kClear;
            if (kTile - y > height - 3) return {200, 230, 255, 255};
            return Shade({170, 62, 50, 255}, (local < 4 ? 25 : -20) + n);
        }
        case kPitFloor:
            return Shade({14, 16, 30, 255}, n / 2);
        case kBackStone: {
            // The keeps' walls, darker than the ground.
            const Rgba b = Brick(x, y, n);
            return {static_cast<std::uint8_t>(b.r * 3 / 5), static_cast<std::uint8_t>(b.g * 3 / 5),
                    static_cast<std::uint8_t>(b.b * 3 / 4), 255};
        }
        case kWindow: {
            // A lit arrow slit in the keep's wall.
            if (Inside(x, y, 13, 4, 19, 30))
                return y < 8 ? Rgba{200, 150, 60, 255} : Rgba{240, 190, 90, 255};
            const Rgba b = Brick(x, y, n);
            return {static_cast<std::uint8_t>(b.r * 3 / 5), static_cast<std::uint8_t>(b.g * 3 / 5),
                    static_cast<std::uint8_t>(b.b * 3 / 4), 255};
        }
        default:
            return LogicTile(index, x, y);
    }
}

Rgba NightSky(int x, int y) {
    // White peaks in front of darker ones.
    const int far = 72 + std::abs((x % 64) - 32) * 3 / 4 + Noise(x / 16, 2, 41) % 6;
    const int nearPeak = 94 + std::abs((x + 20) % 48 - 24) / 2 + Noise(x / 12, 3, 43) % 5;
    if (y > nearPeak) return y < nearPeak + 4 ? kSnow : Rgba{150, 165, 195, 255};
    if (y > far) return y < far + 3 ? Rgba{170, 180, 210, 255} : Rgba{60, 70, 105, 255};
    if (InDisc(x, y, 200, 26, 11)) return {245, 240, 215, 255};
    if (InDisc(x, y, 200, 26, 15)) return {70, 80, 130, 255};
    if (Noise(x, y, 45) > 251) return {230, 235, 255, 255};
    const int t = y * 255 / 128;
    return {static_cast<std::uint8_t>(12 + t / 10), static_cast<std::uint8_t>(16 + t / 9),
            static_cast<std::uint8_t>(40 + t / 5), 255};
}

}  // namespace levelart
