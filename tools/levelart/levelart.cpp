// Writes the levels' textures (Assets/Textures/Level, Player and Fx) and their tile maps and
// tile sets (Assets/Data/Tiled) from fixed integer formulas, so every run writes the same bytes.
// Run from the repository root.

#include "tools/levelart/Layouts.h"
#include "tools/levelart/Map.h"
#include "tools/levelart/Sprites.h"
#include "tools/levelart/Tiles.h"

using namespace levelart;

namespace {

struct Level {
    const char* name;
    TilePainter tiles;
    Rgba (*sky)(int x, int y);
    Layout (*layout)();
};

}  // namespace

int main() {
    const Level levels[] = {
        {"Level1", MeadowTile, Sky, Level1Layout},
        {"Level2", CaveTile, CaveSky, Level2Layout},
        {"Level3", FortressTile, NightSky, Level3Layout},
    };
    bool ok = true;
    for (const Level& level : levels) {
        const std::string name = level.name;
        ok &= Write("Assets/Textures/Level/" + name + "Tiles.png", kTile * kTileColumns,
                    kTile * kTileRows, Sheet(level.tiles));
        ok &= Write("Assets/Textures/Level/" + name + "Sky.png", 256, 128, level.sky);
        ok &= WriteMap(name, level.layout());
    }
    ok &= Write("Assets/Textures/Player/Body.png", kCell * 8, kCell * 4, Body);
    ok &= Write("Assets/Textures/Player/Arm.png", kCell * 4, kCell, Arm);
    ok &= Write("Assets/Textures/Player/Bullet.png", 32, 16, Bullet);
    ok &= Write("Assets/Textures/Fx/SoftDot.png", 32, 32, SoftDot);
    return ok ? 0 : 1;
}
