#pragma once
// The level's backdrop and the player's, bullet's and particles' textures.

#include "tools/paint/Paint.h"

namespace levelart {

// The art is painted with the shared painters.
using namespace paint;

/// A cell of the player's body and arm sheets, in pixels.
constexpr int kCell = 64;

/// The levels' backdrops, 256 x 128: Level1's day, Level2's cavern, Level3's night.
Rgba Sky(int x, int y);
Rgba CaveSky(int x, int y);
Rgba NightSky(int x, int y);
/// 8 x 4 cells.
Rgba Body(int x, int y);
/// 4 x 1 cells.
Rgba Arm(int x, int y);
/// 32 x 16.
Rgba Bullet(int x, int y);
/// 32 x 32.
Rgba SoftDot(int x, int y);

}  // namespace levelart
