#pragma once
// Reading the tile-map editor's JSON export into a ComponentTileMap; private to VornTiled.

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "tiled/ComponentTileMap.h"

namespace tilemap_file {

inline const std::string kFolder = "./Assets/Data/Tiled/";

/// Collected while one map loads and reported once, naming the map file.
struct LoadWarnings {
    int unknownIds = 0;
    std::int64_t firstUnknownId = 0;
    int badTileEntries = 0;
    int zeroColumnSets = 0;
};

inline bool IsEmptyDocument(const nlohmann::json& j) {
    return j.is_null() || ((j.is_object() || j.is_array()) && j.empty());
}

/// Ceilings on what one file can make the loader allocate: tile types per map (the editor's
/// ids have 28 bits, but no sheet comes near this) and cells per layer.
constexpr std::int64_t kMaxTileTypes = 1 << 20;
constexpr std::int64_t kMaxCells = 1 << 24;

/// Reads the map's "tilesets", embedded or from their own files under kFolder, into the map's
/// tile types and sheets. Errors name the map file (`mapPath`) and the tile set's index, or the
/// tile-set file.
void ReadTilesets(ComponentTileMap& map, const nlohmann::json& root, const std::string& mapPath,
                  LoadWarnings& warnings);

}  // namespace tilemap_file
