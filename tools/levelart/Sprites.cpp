#include "tools/levelart/Sprites.h"

namespace levelart {

// ---- Sky behind the level: a gradient with two ranges of hills.
Rgba Sky(int x, int y) {
    const int farHill =
        70 + (Noise(x / 24, 0, 3) % 16) + ((x % 48) < 24 ? x % 24 : 24 - x % 24) / 2;
    const int nearHill = 92 + (Noise(x / 16, 1, 5) % 12);
    if (y > nearHill) return {52, 84, 80, 255};
    if (y > farHill) return {88, 120, 130, 255};
    const int t = y * 255 / 128;
    return {static_cast<std::uint8_t>(120 + t / 4), static_cast<std::uint8_t>(170 + t / 6),
            static_cast<std::uint8_t>(235 - t / 10), 255};
}

namespace {

// ---- The player's body: 8 x 4 cells of 64 pixels (see Player.json for the clips).
// Row 0: Idle 0-3, Brake 4-5, JumpAnticipation 6-7. Row 1: Run 0-7. Row 2: JumpUp 0-1,
// JumpDown 2-3, JumpLanding 4-5, Win 6-7. Row 3: Hurt 0-1, HurtGround 2-3.
struct Pose {
    int bob = 0;       // whole body up (negative) or down
    int frontLeg = 0;  // horizontal swing of the legs
    int backLeg = 0;
    int crouch = 0;  // shorter legs
    int lean = 0;    // torso shift forward
    bool hurt = false;
    bool lying = false;
    bool cheer = false;
};

Pose PoseOf(int column, int row) {
    Pose p;
    switch (row) {
        case 0:
            if (column < 4)
                p.bob = (column == 1 || column == 2) ? 1 : 0;
            else if (column < 6) {
                p.lean = -2;
                p.frontLeg = 5;
                p.backLeg = 2;
            } else {
                p.crouch = column == 6 ? 4 : 7;
                p.bob = p.crouch;
            }
            break;
        case 1: {
            static const int swing[8] = {8, 5, 0, -5, -8, -5, 0, 5};
            p.frontLeg = swing[column];
            p.backLeg = -swing[column];
            p.bob = (column % 4 == 1 || column % 4 == 2) ? -1 : 0;
            p.lean = 2;
            break;
        }
        case 2:
            if (column < 2) {
                p.frontLeg = 5;
                p.backLeg = -3;
                p.crouch = 3;
                p.bob = -2;
            } else if (column < 4) {
                p.frontLeg = 3;
                p.backLeg = -5;
            } else if (column < 6) {
                p.crouch = column == 4 ? 6 : 3;
                p.bob = p.crouch;
            } else
                p.cheer = true;
            break;
        default:
            p.hurt = true;
            p.lying = column >= 2;
            p.frontLeg = column % 2 ? 4 : -4;
            break;
    }
    return p;
}

}  // namespace

Rgba Body(int x, int y) {
    const int column = x / kCell, row = y / kCell;
    int px = x % kCell, py = y % kCell;
    const Pose p = PoseOf(column, row);
    if (p.lying) {
        // Lying on the ground: the upright figure turned on its side.
        const int sx = py, sy = kCell - 1 - px;
        px = sx + 14;
        py = sy + 18;
        if (px >= kCell || py >= kCell) return kClear;
    }
    const Rgba suit = p.hurt ? Rgba{200, 60, 60, 255} : Rgba{30, 150, 150, 255};
    const Rgba trim{240, 140, 30, 255};
    const Rgba skin{240, 200, 160, 255};
    const Rgba boots{50, 40, 60, 255};
    const int top = 4 + p.bob;
    const int legTop = 44 + p.bob;
    const int feet = 60;
    // Head with a visor looking right.
    if (InDisc(px, py, 32 + p.lean, top + 10, 9)) {
        if (Inside(px, py, 34 + p.lean, top + 7, 42 + p.lean, top + 12)) {
            return p.hurt ? Rgba{30, 30, 30, 255} : Rgba{20, 40, 80, 255};
        }
        return skin;
    }
    // Arms up when cheering.
    if (p.cheer &&
        (Inside(px, py, 20, top + 2, 24, top + 22) || Inside(px, py, 40, top + 2, 44, top + 22))) {
        return skin;
    }
    // Torso with a belt.
    if (Inside(px, py, 24 + p.lean, top + 19, 41 + p.lean, legTop)) {
        if (py >= legTop - 4) return trim;
        return Shade(suit, px < 28 + p.lean ? -25 : 0);
    }
    // Legs: back leg darker, each ending in a boot.
    const int legLength = feet - legTop - p.crouch;
    for (int leg = 0; leg < 2; ++leg) {
        const int swing = leg == 0 ? p.backLeg : p.frontLeg;
        const int x0 = (leg == 0 ? 26 : 33) + swing;
        if (legLength > 0 && Inside(px, py, x0, legTop, x0 + 6, legTop + legLength + p.crouch)) {
            if (py >= feet - 5 + (p.crouch > 0 ? 0 : 0)) return boots;
            return Shade(suit, leg == 0 ? -40 : -10);
        }
    }
    return kClear;
}

// ---- The arm: 4 cells of 64 pixels, shoulder at the centre, pointing right.
// Cell 0: Idle; cells 1-3: shoot (recoil and a muzzle flash).
Rgba Arm(int x, int y) {
    const int frame = x / kCell;
    const int px = x % kCell, py = y % kCell;
    const int recoil = frame == 1 ? -3 : frame == 2 ? -2 : 0;
    if (InDisc(px, py, 32, 32, 4)) return {30, 150, 150, 255};
    if (Inside(px, py, 32, 29, 46 + recoil, 35)) return {240, 200, 160, 255};
    if (Inside(px, py, 44 + recoil, 27, 58 + recoil, 33)) return {70, 75, 90, 255};
    if (Inside(px, py, 46 + recoil, 33, 50 + recoil, 38)) return {50, 55, 70, 255};
    if (frame >= 1 && frame <= 2 && InDisc(px, py, 61 + recoil, 30, frame == 1 ? 5 : 3)) {
        return {255, 230, 120, 255};
    }
    return kClear;
}

// ---- The bullet: 2 cells of 16 pixels, a glowing orb that pulses.
Rgba Bullet(int x, int y) {
    const int frame = x / 16;
    const int px = x % 16, py = y % 16;
    const int d2 = (px * 2 - 15) * (px * 2 - 15) + (py * 2 - 15) * (py * 2 - 15);
    const int core = frame == 0 ? 40 : 60;
    if (d2 <= core) return {255, 255, 230, 255};
    if (d2 <= 150) return {255, 220, 80, 255};
    if (d2 <= 225) return {255, 150, 40, static_cast<std::uint8_t>(frame == 0 ? 160 : 110)};
    return kClear;
}

// A white disc whose alpha falls off with the squared distance from the centre: particles tint
// it with their own colour, and it stays soft at any size.
Rgba SoftDot(int x, int y) {
    const int d2 = (x * 2 - 31) * (x * 2 - 31) + (y * 2 - 31) * (y * 2 - 31);
    constexpr int kEdge = 32 * 32;
    if (d2 >= kEdge) return kClear;
    return {255, 255, 255, static_cast<std::uint8_t>(255 * (kEdge - d2) / kEdge)};
}

}  // namespace levelart
