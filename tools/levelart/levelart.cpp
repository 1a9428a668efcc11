// Writes Level1's textures (Assets/Textures/Level, Player and Fx) and its tile map and
// tile set (Assets/Data/Tiled) from fixed integer formulas, so every run writes the same bytes.
// Run from the repository root.

#include "tools/levelart/Map.h"
#include "tools/levelart/Sprites.h"
#include "tools/levelart/Tiles.h"

using namespace levelart;

int main() {
    bool ok = true;
    ok &= Write("Assets/Textures/Level/Level1Tiles.png", kTile * kTileColumns, kTile * kTileRows,
                TileSheet);
    ok &= Write("Assets/Textures/Level/Level1Sky.png", 256, 128, Sky);
    ok &= Write("Assets/Textures/Player/Body.png", kCell * 8, kCell * 4, Body);
    ok &= Write("Assets/Textures/Player/Arm.png", kCell * 4, kCell, Arm);
    ok &= Write("Assets/Textures/Player/Bullet.png", 32, 16, Bullet);
    ok &= Write("Assets/Textures/Fx/SoftDot.png", 32, 32, SoftDot);
    ok &= WriteMap();
    return ok ? 0 : 1;
}
