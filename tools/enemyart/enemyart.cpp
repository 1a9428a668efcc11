// Writes the enemies' textures (Assets/Textures/Enemies) and the range outline of debug mode
// from fixed integer formulas, so every run writes the same bytes. Run from the repository root.
//
// Both enemies face right; the game mirrors them. Cells are 64 pixels, one row per sheet:
// Walker: walk 0-3, idle 4-5, hurt 6-7 (a white flash, then red), death 8-9 (squashed).
// Shooter: walk 0-3, idle 4-5, shoot 6-8 (beak open), hurt 9-10, death 11-12.

#include <cstdint>
#include <string>

#include "tools/paint/Paint.h"

namespace {

using namespace paint;

constexpr Rgba kInk{28, 20, 36, 255};
constexpr int kCell = 64;

/// How a frame differs from the plain pose.
struct Look {
    int bob = 0;     // body down (positive) or up
    int step = 0;    // leg phase, -1..1 scaled inside each painter
    int squash = 0;  // flattening of a dying body, in pixels
    bool flash = false;
    bool bruised = false;
    bool blink = false;
    int beak = 0;  // beak opening, pixels
};

/// Every hurt or dying frame is tinted: white for the flash, a red bruise after it.
Rgba Tint(Rgba c, const Look& look) {
    if (c.a == 0) return c;
    if (look.flash) return {255, 255, 255, c.a};
    if (look.bruised) {
        return {static_cast<std::uint8_t>((c.r + 255) / 2), static_cast<std::uint8_t>(c.g / 2),
                static_cast<std::uint8_t>(c.b / 2), c.a};
    }
    return c;
}

// ---- The walker: a domed beetle with thorns on its back, six stubby legs and big eyes.
Look WalkerLook(int frame) {
    Look look;
    if (frame < 4) {
        look.step = frame;  // 0..3 around the walk cycle
        look.bob = (frame % 2) ? 1 : 0;
    } else if (frame < 6) {
        look.bob = frame == 5 ? 1 : 0;
        look.blink = frame == 5;
        look.step = -1;
    } else if (frame < 8) {
        look.flash = frame == 6;
        look.bruised = frame == 7;
        look.step = -1;
    } else {
        look.bruised = true;
        look.squash = frame == 8 ? 6 : 12;
        look.blink = true;
        look.step = -1;
    }
    return look;
}

Rgba WalkerPixel(int frame, int x, int y) {
    const Look look = WalkerLook(frame);
    const Rgba shell{122, 48, 120, 255};
    const Rgba belly{236, 170, 96, 255};
    const Rgba thorn{250, 226, 150, 255};
    const Rgba leg{60, 30, 62, 255};
    const int floor = 50;  // feet
    const int top = 18 + look.bob + look.squash;
    const int centreY = (top + floor - 6) / 2 + 2;
    const int ry = (floor - 6 - top) / 2 + 2;
    // Legs: three pairs under the body, swinging in turn.
    if (look.squash < 10) {
        for (int pair = 0; pair < 3; ++pair) {
            const int base = 20 + pair * 11;
            const int phase = look.step < 0 ? 0 : ((look.step + pair) % 4) - 1;  // -1..2
            const int swing = phase == 2 ? 0 : phase * 2;
            if (Inside(x, y, base + swing, floor - 8, base + swing + 4, floor))
                return Tint(leg, look);
        }
    }
    // Thorns along the top of the shell, leaning back.
    for (int t = 0; t < 4; ++t) {
        const int tx = 16 + t * 8;
        const int ty = top + 4 + (t == 0 || t == 3 ? 3 : 0);
        const int h = 7 - look.squash / 3;
        if (y < ty && y >= ty - h && x >= tx - (ty - y) / 2 && x < tx + 4 - (ty - y)) {
            return Tint(thorn, look);
        }
    }
    if (!InEllipse(x, y, 31, centreY, 22, ry)) return kClear;
    // Eye looking right, on the front of the shell.
    const int eyeY = centreY - ry / 4;
    if (InEllipse(x, y, 45, eyeY, 5, look.blink ? 1 : 5)) {
        if (!look.blink && InEllipse(x, y, 47, eyeY, 2, 2)) return Tint(kInk, look);
        return Tint({250, 250, 240, 255}, look);
    }
    // Belly band below, shell above with a rim light and speckles.
    if (y > centreY + ry / 3) return Tint(Shade(belly, Noise(x, y, 3) / 32 - 4), look);
    int shade = (x - 31) / 3 - (y - centreY) / 2;
    if (Noise(x / 3, y / 3, 9) < 30) shade -= 25;
    return Tint(Shade(shell, shade), look);
}

Rgba WalkerSheet(int x, int y) {
    return WalkerPixel(x / kCell, x % kCell, y % kCell);
}

// ---- The shooter: a plump bird with a long orange beak it spits seeds from. The muzzle (the
// "beaks" bone in the entity file) is the beak's tip.
Look ShooterLook(int frame) {
    Look look;
    if (frame < 4) {
        look.step = frame;
        look.bob = (frame == 1 || frame == 3) ? -2 : 0;
    } else if (frame < 6) {
        look.bob = frame == 5 ? 1 : 0;
        look.blink = frame == 5;
        look.step = -1;
    } else if (frame < 9) {
        look.beak = frame == 6 ? 3 : frame == 7 ? 6 : 2;
        look.bob = frame == 7 ? 1 : 0;
        look.step = -1;
    } else if (frame < 11) {
        look.flash = frame == 9;
        look.bruised = frame == 10;
        look.step = -1;
    } else {
        look.bruised = true;
        look.squash = frame == 11 ? 6 : 12;
        look.blink = true;
        look.step = -1;
    }
    return look;
}

Rgba ShooterPixel(int frame, int x, int y) {
    const Look look = ShooterLook(frame);
    const Rgba plumage{214, 176, 52, 255};
    const Rgba wing{160, 120, 36, 255};
    const Rgba chest{246, 232, 180, 255};
    const Rgba beak{240, 120, 40, 255};
    const Rgba leg{232, 98, 52, 255};
    const int floor = 52;
    const int bodyY = 34 + look.bob + look.squash / 2;
    const int bodyR = 15 - look.squash / 4;
    // Legs: two thin legs that trot.
    if (look.squash < 10) {
        for (int l = 0; l < 2; ++l) {
            const int swing = look.step < 0 ? 0 : ((look.step + l * 2) % 4 - 1) * 2;
            const int lx = 25 + l * 9 + swing;
            if (Inside(x, y, lx, bodyY + bodyR - 3, lx + 2, floor)) return Tint(leg, look);
            if (Inside(x, y, lx, floor - 2, lx + 6, floor)) return Tint(leg, look);
        }
    }
    // Head and crest.
    const int headY = bodyY - bodyR - 2 + look.squash / 2;
    if (InEllipse(x, y, 36, headY, 9, 8 - look.squash / 4)) {
        if (InEllipse(x, y, 39, headY - 2, 3, look.blink ? 1 : 3)) {
            if (!look.blink && Inside(x, y, 40, headY - 3, 42, headY - 1)) return Tint(kInk, look);
            return Tint({255, 255, 250, 255}, look);
        }
        return Tint(Shade(plumage, 10 - (y - headY)), look);
    }
    for (int f = 0; f < 3; ++f) {
        if (Inside(x, y, 28 + f * 3, headY - 12 + f * 2, 30 + f * 3, headY - 6)) {
            return Tint(Shade(wing, f * 10), look);
        }
    }
    // Beak: upper and lower halves, apart by the opening while shooting.
    const int beakY = headY + 1;
    const int beakLength = 14 - look.squash / 2;
    const int bx = x - 43;
    if (bx >= 0 && bx < beakLength) {
        const int thickness = 4 - bx * 3 / beakLength;
        const int gap = look.beak * bx / beakLength;
        if (y >= beakY - thickness - gap / 2 && y < beakY - gap / 2) return Tint(beak, look);
        if (y >= beakY + (gap + 1) / 2 && y < beakY + (gap + 1) / 2 + thickness - 1) {
            return Tint(Shade(beak, -30), look);
        }
    }
    // Body with a wing and a pale chest.
    if (!InEllipse(x, y, 31, bodyY, bodyR + 2, bodyR)) return kClear;
    if (InEllipse(x, y, 25, bodyY - 1, 9, 7 - look.squash / 4)) {
        return Tint(Shade(wing, (Noise(x / 2, y, 5) & 15) - 8), look);
    }
    if (InEllipse(x, y, 38, bodyY + 4, 8, 8)) return Tint(chest, look);
    return Tint(Shade(plumage, (x - 31) / 2 - (y - bodyY) / 2), look);
}

Rgba ShooterSheet(int x, int y) {
    return ShooterPixel(x / kCell, x % kCell, y % kCell);
}

// ---- The shooter's seed: two cells of 16 pixels, a spinning husk.
Rgba Seed(int x, int y) {
    const int frame = x / 16;
    const int px = x % 16, py = y % 16;
    const bool upright = frame == 1;
    const int rx = upright ? 4 : 6, ry = upright ? 6 : 4;
    if (!InEllipse(px, py, 8, 8, rx, ry)) return kClear;
    if (InEllipse(px, py, upright ? 7 : 6, upright ? 6 : 7, rx / 2, ry / 2)) {
        return {200, 240, 120, 255};
    }
    return {96, 150, 50, 255};
}

// ---- Debug mode's outline of a shooting range: a ring with a dashed inner edge, drawn at the
// range's full diameter.
Rgba RangeOutline(int x, int y) {
    const int dx = 2 * x + 1 - 128;
    const int dy = 2 * y + 1 - 128;
    const int d2 = dx * dx + dy * dy;
    if (d2 <= 128 * 128 && d2 >= 122 * 122) return {255, 120, 40, 255};
    if (d2 < 122 * 122 && d2 >= 116 * 116 && ((x + y) / 6) % 2 == 0) return {255, 120, 40, 120};
    return kClear;
}

/// The creatures are drawn ringed with ink, as the level's are.
bool WriteInked(const std::string& path, int width, int height, const Painter& paint) {
    return paint::Write(path, width, height, paint::Outlined(paint, width, height, kCell, kInk));
}

}  // namespace

int main() {
    bool ok = true;
    ok &= WriteInked("Assets/Textures/Enemies/Walker.png", kCell * 10, kCell, WalkerSheet);
    ok &= WriteInked("Assets/Textures/Enemies/Shooter.png", kCell * 13, kCell, ShooterSheet);
    ok &= WriteInked("Assets/Textures/Enemies/Seed.png", 32, 16, Seed);
    ok &= paint::Write("Assets/Textures/ProgrammerArt/EnemyShootingRangeDebug.png", 64 * 2, 64 * 2,
                       RangeOutline);
    return ok ? 0 : 1;
}
