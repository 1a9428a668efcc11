#pragma once

#include "tools/paint/Paint.h"

namespace levelart {

// The art is painted with the shared painters.
using namespace paint;

// ---- Tile set: 8 x 3 tiles of 32 pixels. Row 0: logic tiles (seen in debug mode), row 1:
// the visible ground, row 2: background stone.
constexpr int kTile = 32;
constexpr int kTileColumns = 8;
constexpr int kTileRows = 3;
/// The part of a spike cell, from its bottom, that collides: the body of the teeth drawn there
/// (the tips, at most half the cell, stay harmless so that a near miss is a miss).
constexpr float kHazardHeight = 0.375f;

enum TileIndex {
    kSolid = 0,
    kOneWay = 1,
    kHazard = 2,
    kPit = 3,
    kAnchor = 4,
    kGrass = 8,
    kDirt = 9,
    kPlank = 10,
    kSpikes = 11,
    kPitFloor = 12,
    kBackStone = 16,
    kWindow = 17,
};

/// A theme's painter of one tile: tile index, pixel inside the tile.
using TilePainter = Rgba (*)(int index, int x, int y);

/// The logic tiles of row 0, shared by every theme.
Rgba LogicTile(int index, int x, int y);

/// Lays a theme's tiles out as the whole sheet, kTileColumns x kTileRows tiles.
Painter Sheet(TilePainter tile);

/// Level1's meadow and stone ruins.
Rgba MeadowTile(int index, int x, int y);
/// Level2's crystal cave.
Rgba CaveTile(int index, int x, int y);
/// Level3's snowy fortress at night.
Rgba FortressTile(int index, int x, int y);

}  // namespace levelart
