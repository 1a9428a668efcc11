#pragma once

#include "engine/SystemTransform.h"
#include "physics2d/SystemCollisionBox.h"

/// What the map knows about one tile id: where its image sits and what it means to the game.
struct TileType {
    /// Index of the tile set, and of its entry in ComponentTileMap::TilesetSprites.
    int TilesetIndex = 0;
    int SheetRow = 0;
    int SheetColumn = 0;
    /// Solid: the tile has a collider and takes part in collision tests.
    bool isCollidable = false;
    /// One-way platform.
    bool canJumpThrough = false;
    bool killsPlayer = false;
    bool pit = false;
    /// The part of the cell's height, from its bottom, that collides: a row of spikes is
    /// drawn low in its cell and should be touched only there. 1 is the whole cell.
    float collisionHeight = 1.0f;
    /// The map is placed so that this tile's cell is centred on the world origin.
    bool atOrigin = false;
};

/// One cell of one layer.
struct Tile {
    int Layer = 0;
    int Row = 0;
    int Column = 0;
    /// Tile id without the editor's flip flags; 0 is an empty cell.
    int Id = 0;
    /// World placement: translation is the cell's centre, scale (T, T, 1); a tile the editor
    /// flipped has a negative scale on its mirrored axis and, when flipped diagonally, a
    /// quarter turn.
    ComponentTransform Transform{};
    /// Size (T, T) for a solid tile, else (0, 0). In MessageCollisionTile, Penetration holds
    /// the depths of the box test being reported.
    ComponentCollisionBox Collider{};
    /// A copy of the map's TileTypes[Id].
    TileType Type{};
};
