#include "tiled/TileMapFile.h"

#include <algorithm>
#include <utility>

#include "engine/ContentPath.h"
#include "engine/DataFile.h"
#include "engine/JsonRead.h"

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
void ApplyTileProperties(const json& properties, TileType& type, const std::string& where) {
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
        } else if (key == "collisionHeight") {
            const float height = value->get<float>();
            if (!(height > 0.0f && height <= 1.0f)) {
                throw DataError(where + ": collisionHeight: must be above 0 and at most 1");
            }
            type.collisionHeight = height;
        } else if (key == "AtPosition0,0") {
            type.atOrigin = true;
        }
    }
}

/// An integer key of `object`, or -1 when absent; names the key when it is not a usable count.
std::int64_t Count(const json& object, const char* key, const std::string& where) {
    auto it = object.find(key);
    if (it == object.end()) return -1;
    std::int64_t value = 0;
    try {
        value = json_read::Integer<int>(*it);
    } catch (const json::exception& e) {
        throw DataFileError(where, e, std::string("/") + key);
    }
    if (value < 0) throw DataError(where + ": /" + key + ": must not be negative");
    return value;
}

/// Sheet cells (columns, rows) of the tile set's image, or (-1, -1) when it does not say.
std::pair<std::int64_t, std::int64_t> ImageCells(const json& set, const std::string& where) {
    const std::int64_t imageWidth = Count(set, "imagewidth", where);
    const std::int64_t imageHeight = Count(set, "imageheight", where);
    const std::int64_t tileWidth = Count(set, "tilewidth", where);
    const std::int64_t tileHeight = Count(set, "tileheight", where);
    if (imageWidth < 0 || imageHeight < 0 || tileWidth <= 0 || tileHeight <= 0) return {-1, -1};
    const std::int64_t margin = std::max<std::int64_t>(Count(set, "margin", where), 0);
    const std::int64_t spacing = std::max<std::int64_t>(Count(set, "spacing", where), 0);
    auto cells = [&](std::int64_t image, std::int64_t tile) {
        return std::max<std::int64_t>((image - 2 * margin + spacing) / (tile + spacing), 0);
    };
    return {cells(imageWidth, tileWidth), cells(imageHeight, tileHeight)};
}

/// One tile set, from its own file or embedded in the map (`where` names it); the same keys
/// either way. Every tile set adds its sprite description, so later sets keep their index.
void ReadTileset(ComponentTileMap& map, const json& set, const std::string& where,
                 LoadWarnings& warnings) {
    if (!set.is_object()) throw DataError(where + ": a tile set must be a JSON object");
    const int base = static_cast<int>(map.TileTypes.size());
    const auto [imageColumns, imageRows] = ImageCells(set, where);
    std::int64_t tileCount = Count(set, "tilecount", where);
    std::int64_t columns = Count(set, "columns", where);
    // Older exports leave the counts out; the image and tile sizes give them.
    if (columns < 0) columns = imageColumns;
    if (tileCount < 0 && imageRows >= 0) tileCount = columns * imageRows;
    if (columns < 0 || tileCount < 0) {
        throw DataError(where +
                        ": needs \"tilecount\" and \"columns\", or \"imagewidth\", "
                        "\"imageheight\", \"tilewidth\" and \"tileheight\" to derive them");
    }
    if (imageColumns >= 0 && columns > 0 && tileCount > imageColumns * imageRows) {
        throw DataError(where + ": /tilecount: " + std::to_string(tileCount) +
                        " tiles do not fit the image's " + std::to_string(imageColumns) + " x " +
                        std::to_string(imageRows) + " cells");
    }
    if (base + tileCount > kMaxTileTypes) {
        throw DataError(where + ": /tilecount: " + std::to_string(tileCount) +
                        " tiles would take the map past " + std::to_string(kMaxTileTypes) +
                        " tile types");
    }
    std::int64_t rows = 0;
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
        if (!image->is_string()) {
            throw DataError(where + ": /image: type must be string, but is " + image->type_name());
        }
        // Only the texture name after "../Textures/" is ever opened, so that is what must
        // stay inside.
        const std::string file = image->get<std::string>();
        texture = TextureName(file);
        if (!InsideAssets("Textures", texture)) {
            throw DataError(where + ": /image: \"" + file + "\" leads outside Assets/");
        }
    }
    ComponentSprite sprite;
    sprite.texture = std::move(texture);
    // Sheets are (columns, rows), cells per row first, as the renderer reads them.
    sprite.dimensions = {static_cast<float>(columns), static_cast<float>(rows)};
    map.TilesetSprites.push_back(std::move(sprite));

    for (std::int64_t i = 0; i < rows; ++i) {
        for (std::int64_t j = 0; j < columns; ++j) {
            TileType type;
            type.TilesetIndex = map.TilesetCount;
            type.SheetRow = static_cast<int>(i);
            type.SheetColumn = static_cast<int>(j);
            map.TileTypes.push_back(type);
        }
    }
    const std::int64_t added = rows * columns;

    auto tiles = set.find("tiles");
    if (tiles == set.end()) return;
    for (const json& tile : *tiles) {
        if (!tile.is_object() || !tile.contains("id")) continue;
        const std::int64_t id = json_read::Integer<std::int64_t>(tile["id"]);
        // An id past this sheet would land in another tile set's types or outside the table.
        if (id < 0 || id >= added) {
            ++warnings.badTileEntries;
            continue;
        }
        if (auto properties = tile.find("properties"); properties != tile.end()) {
            ApplyTileProperties(*properties, map.TileTypes[base + id],
                                where + ": /tiles, id " + std::to_string(id));
        }
    }
}

}  // namespace

void ReadTilesets(ComponentTileMap& map, const json& root, const std::string& mapPath,
                  LoadWarnings& warnings) {
    auto sets = root.find("tilesets");
    if (sets == root.end()) return;
    int index = 0;
    for (const json& entry : *sets) {
        const std::string where = mapPath + ": /tilesets/" + std::to_string(index++);
        if (entry.is_object() && !entry.contains("source")) {
            ReadTileset(map, entry, where, warnings);
        } else {
            const std::string source = entry.at("source").get<std::string>();
            if (!InsideAssets("Data/Tiled", source)) {
                throw DataError(where + "/source: \"" + source + "\" leads outside Assets/");
            }
            const auto dot = source.rfind('.');
            const std::string name = dot == std::string::npos ? "" : source.substr(0, dot);
            const std::string path = kFolder + name + ".json";
            const json set = ReadDataFile(path);
            try {
                ReadTileset(map, set, path, warnings);
            } catch (const json::exception& e) {
                throw DataFileError(path, e);
            }
        }
        ++map.TilesetCount;
    }
}

}  // namespace tilemap_file
