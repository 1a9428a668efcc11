#include "tiled/TileMapFile.h"

#include <algorithm>

#include "engine/DataFile.h"

using json = nlohmann::json;

namespace tilemap_file {

namespace {

const std::string kTexturePrefix = "../Textures/";

/// "../Textures/Tiles/ground.png" -> "Tiles/ground"; empty without the prefix.
std::string TextureName(const std::string& image) {
    const auto prefix = image.find(kTexturePrefix);
    if (prefix == std::string::npos) return {};
    std::string name = image.substr(prefix + kTexturePrefix.size());
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

/// Applies {"name", "value"} entries to one tile type; other names are ignored.
void ApplyTileProperties(const json& properties, TileType& type) {
    for (const json& entry : properties) {
        if (!entry.is_object()) continue;
        auto name = entry.find("name");
        auto value = entry.find("value");
        if (name == entry.end() || value == entry.end()) continue;
        if (IsEmptyDocument(*name) || IsEmptyDocument(*value)) continue;
        const std::string key = name->get<std::string>();
        if (key == "isCollidable") {
            type.isCollidable = value->get<bool>();
        } else if (key == "canJumpThrough") {
            type.canJumpThrough = value->get<bool>();
        } else if (key == "killsPlayer") {
            type.killsPlayer = value->get<bool>();
        } else if (key == "pit") {
            type.pit = value->get<bool>();
        } else if (key == "AtPosition0,0") {
            type.atOrigin = true;
        }
    }
}

/// One tile set, from its own file or embedded in the map; the same keys either way.
void ReadTileset(ComponentTileMap& map, const json& set, LoadWarnings& warnings) {
    if (!set.is_object() || !set.contains("tilecount") || !set.contains("columns")) return;
    const int base = static_cast<int>(map.TileTypes.size());
    const int tileCount = std::max(set["tilecount"].get<int>(), 0);
    int columns = set["columns"].get<int>();
    int rows = 0;
    if (columns > 0) {
        rows = tileCount / columns;
    } else {
        // Image-collection tile sets export "columns" 0: keep their ids in place (later tile
        // sets number on from them) as one row of cells.
        ++warnings.zeroColumnSets;
        columns = tileCount;
        rows = tileCount > 0 ? 1 : 0;
    }
    std::string texture;
    if (auto image = set.find("image"); image != set.end()) {
        texture = TextureName(image->get<std::string>());
    }
    ComponentSprite sprite;
    sprite.texture = std::move(texture);
    // Sheets are (columns, rows), cells per row first, as the renderer reads them.
    sprite.dimensions = {static_cast<float>(columns), static_cast<float>(rows)};
    map.TilesetSprites.push_back(std::move(sprite));

    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            TileType type;
            type.TilesetIndex = map.TilesetCount;
            type.SheetRow = i;
            type.SheetColumn = j;
            map.TileTypes.push_back(type);
        }
    }
    const int added = rows * columns;

    auto tiles = set.find("tiles");
    if (tiles == set.end()) return;
    for (const json& tile : *tiles) {
        if (!tile.is_object() || !tile.contains("id")) continue;
        const int id = tile["id"].get<int>();
        // An id past this sheet would land in another tile set's types or outside the table.
        if (id < 0 || id >= added) {
            ++warnings.badTileEntries;
            continue;
        }
        if (auto properties = tile.find("properties"); properties != tile.end()) {
            ApplyTileProperties(*properties, map.TileTypes[base + id]);
        }
    }
}

}  // namespace

void ReadTilesets(ComponentTileMap& map, const json& root, LoadWarnings& warnings) {
    auto sets = root.find("tilesets");
    if (sets == root.end()) return;
    for (const json& entry : *sets) {
        if (entry.is_object() && !entry.contains("source")) {
            ReadTileset(map, entry, warnings);
        } else {
            const std::string source = entry.at("source").get<std::string>();
            const auto dot = source.rfind('.');
            const std::string name = dot == std::string::npos ? "" : source.substr(0, dot);
            const std::string path = kFolder + name + ".json";
            const json set = ReadDataFile(path);
            try {
                ReadTileset(map, set, warnings);
            } catch (const json::exception& e) {
                throw DataFileError(path, e);
            }
        }
        ++map.TilesetCount;
    }
}

}  // namespace tilemap_file
