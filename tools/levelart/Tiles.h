#pragma once

#include "tools/levelart/Paint.h"

namespace levelart {

// ---- Tile set: 8 x 3 tiles of 32 pixels. Row 0: logic tiles (seen in debug mode), row 1:
// the visible ground, row 2: background stone.
constexpr int kTile = 32;
constexpr int kTileColumns = 8;
constexpr int kTileRows = 3;

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
};

/// The whole tile sheet, kTileColumns x kTileRows tiles.
Rgba TileSheet(int x, int y);

}  // namespace levelart
