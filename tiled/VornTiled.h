#pragma once
// The whole public API of VornTiled.

#include "tiled/ComponentTileMap.h"
#include "tiled/MessageCollisionTile.h"
#include "tiled/SystemTileMap.h"
#include "tiled/Tile.h"
