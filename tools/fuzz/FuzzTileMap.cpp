// Tile maps (the input is the map) and tile sets (the input is a set the shipped map uses).
#include <algorithm>

#include "tiled/ComponentTileMap.h"
#include "tools/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterContentCopy();
#ifdef HALVEX_FUZZ_TILESET
    fuzz::Write("Assets/Data/Tiled/Level1Tiles.json", data, size);
    const std::string name = "Level1";
#else
    fuzz::Write("Assets/Data/Tiled/Fuzz.json", data, size);
    const std::string name = "Fuzz";
#endif
    fuzz::Expect([&] {
        ComponentTileMap map;
        LoadTileMap(map, name);
        // Every cell lookup must stay inside the tables, wherever it lands.
        for (int layer = -1; layer <= map.LayerCount; ++layer) {
            for (int row = -1; row <= std::min(map.Height, 64); ++row) {
                for (int column = -1; column <= std::min(map.Width, 64); ++column) {
                    const Tile& tile = map.Lookup(layer, row, column);
                    if (tile.Id < 0 || static_cast<std::size_t>(tile.Id) >= map.TileTypes.size()) {
                        std::abort();
                    }
                }
            }
        }
    });
    return 0;
}
