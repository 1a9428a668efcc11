#include "tiled/ComponentTileMap.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <limits>
#include <utility>

#include "engine/ContentPath.h"
#include "engine/DataError.h"
#include "engine/JsonRead.h"

using json = nlohmann::json;

namespace {

const std::string kTiledFolder = "./Assets/Data/Tiled/";
const std::string kTexturePrefix = "../Textures/";
// The editor keeps its flip and rotation flags in the top four bits of a tile id.
constexpr std::uint32_t kFlagBits = 0xF0000000u;
constexpr std::uint32_t kFlipHorizontal = 0x80000000u;
constexpr std::uint32_t kFlipVertical = 0x40000000u;
constexpr std::uint32_t kFlipDiagonal = 0x20000000u;

/// Collected while one map loads and reported once, naming the map file.
struct LoadWarnings {
    int unknownIds = 0;
    std::int64_t firstUnknownId = 0;
    int badTileEntries = 0;
    int zeroColumnSets = 0;
};

json ParseFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw DataError(path + ": file not found");
    try {
        return json::parse(in);
    } catch (const json::exception& e) {
        throw DataError(path + ": " + e.what());
    }
}

bool IsEmptyDocument(const json& j) {
    return j.is_null() || ((j.is_object() || j.is_array()) && j.empty());
}

/// "../Textures/Tiles/ground.png" -> "Tiles/ground"; empty without the prefix.
std::string TextureName(const std::string& image) {
    const auto prefix = image.find(kTexturePrefix);
    if (prefix == std::string::npos) return {};
    std::string name = image.substr(prefix + kTexturePrefix.size());
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

/// "#AARRGGBB" or "#RRGGBB"; each pair over 256, so FF reads 0.99609375.
glm::vec4 ParseTint(const std::string& text, const std::string& path) {
    const bool withAlpha = text.size() == 9;
    bool valid = (withAlpha || text.size() == 7) && text[0] == '#';
    for (std::size_t i = 1; valid && i < text.size(); ++i) {
        valid = std::isxdigit(static_cast<unsigned char>(text[i])) != 0;
    }
    if (!valid) {
        throw DataError(path + ": \"tintcolor\" \"" + text +
                        "\" must be # followed by 6 or 8 hexadecimal digits");
    }
    auto pair = [&](std::size_t at) {
        return static_cast<float>(std::stoi(text.substr(at, 2), nullptr, 16)) / 256.0f;
    };
    if (withAlpha) return {pair(3), pair(5), pair(7), pair(1)};
    return {pair(1), pair(3), pair(5), 1.0f};
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

/// Ceilings on what one file can make the loader allocate: tile types per map (the editor's
/// ids have 28 bits, but no sheet comes near this) and cells per layer.
constexpr std::int64_t kMaxTileTypes = 1 << 20;
constexpr std::int64_t kMaxCells = 1 << 24;

/// An integer key of `object`, or -1 when absent; names the key when it is not a usable count.
std::int64_t Count(const json& object, const char* key, const std::string& where) {
    auto it = object.find(key);
    if (it == object.end()) return -1;
    std::int64_t value = 0;
    try {
        value = json_read::Integer<int>(*it);
    } catch (const json::exception& e) {
        throw DataError(where + ": /" + key + ": " + e.what());
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
            ApplyTileProperties(*properties, map.TileTypes[base + id]);
        }
    }
}

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
            const std::string path = kTiledFolder + name + ".json";
            const json set = ParseFile(path);
            try {
                ReadTileset(map, set, path, warnings);
            } catch (const json::exception& e) {
                throw DataError(path + ": " + e.what());
            }
        }
        ++map.TilesetCount;
    }
}

/// Mirrors a tile's drawing as the editor's flip flags ask, as a rotation of the quad and signs
/// of its scale (the renderer scales the quad, then turns it). The editor flips the image
/// diagonally first, then horizontally, then vertically; image rows run downwards, world y up.
void ApplyFlips(std::uint32_t flags, ComponentTransform& transform) {
    // The flips as one 2 x 2 world matrix {m00, m01, m10, m11}.
    int m00 = 1, m01 = 0, m10 = 0, m11 = 1;
    if (flags & kFlipDiagonal) {
        // Transposing the image maps world (x, y) to (-y, -x).
        m00 = 0, m01 = -1, m10 = -1, m11 = 0;
    }
    if (flags & kFlipHorizontal) m00 = -m00, m01 = -m01;
    if (flags & kFlipVertical) m10 = -m10, m11 = -m11;
    if (m01 == 0) {
        transform.scale.x *= static_cast<float>(m00);
        transform.scale.y *= static_cast<float>(m11);
    } else {
        // A quarter turn after the scale: turn(90) * diag(sx, sy) = {0, -sy, sx, 0}.
        transform.rotation.z = 1.5707964f;
        transform.scale.x *= static_cast<float>(m10);
        transform.scale.y *= static_cast<float>(-m01);
    }
}

/// The tile id of a "data" element without the editor's flags, or 0 (empty) with a warning
/// when the map has no such tile type.
int BaseId(const json& element, const ComponentTileMap& map, LoadWarnings& warnings,
           std::uint32_t& flags) {
    const std::int64_t raw = json_read::Integer<std::int64_t>(element);
    flags = static_cast<std::uint32_t>(raw) & kFlagBits;
    // Ids are unsigned 32-bit in the editor; some exporters write them as signed numbers.
    const std::uint32_t id = static_cast<std::uint32_t>(raw) & ~kFlagBits;
    if (raw < std::numeric_limits<std::int32_t>::min() ||
        raw > std::numeric_limits<std::uint32_t>::max() || id >= map.TileTypes.size()) {
        if (warnings.unknownIds++ == 0) warnings.firstUnknownId = raw;
        return 0;
    }
    return static_cast<int>(id);
}

void ReadLayer(ComponentTileMap& map, const json& layer, const std::string& path,
               LoadWarnings& warnings) {
    if (layer.contains("chunks")) {
        throw DataError(path +
                        ": infinite maps are not supported; export the map with a fixed size");
    }
    const int index = map.LayerCount;
    const float t = map.TileSize;
    float z = 8.0f;
    if (auto properties = layer.find("properties"); properties != layer.end()) {
        for (const json& entry : *properties) {
            if (!entry.is_object() || !entry.contains("name") || !entry.contains("value")) continue;
            const std::string name = entry["name"].get<std::string>();
            if (name == "Z Position") {
                z = entry["value"].get<float>();
            } else if (name == "Background") {
                map.backgroundLayer = entry["value"].get<bool>();
            }
        }
    }
    map.LayerZ.push_back(z);
    glm::vec4 tint{1.0f};
    if (auto text = layer.find("tintcolor"); text != layer.end()) {
        tint = ParseTint(text->get<std::string>(), path);
    }
    map.LayerTints.push_back(tint);
    map.Layers.emplace_back();
    map.CollisionLayers.push_back(false);

    std::vector<Tile>& tiles = map.Layers.back();
    if (auto data = layer.find("data"); data != layer.end()) {
        tiles.reserve(data->size());
        int row = 0;
        int column = 0;
        for (const json& element : *data) {
            Tile tile;
            tile.Layer = index;
            tile.Row = row;
            tile.Column = column;
            std::uint32_t flags = 0;
            tile.Id = BaseId(element, map, warnings, flags);
            tile.Type = map.TileTypes[tile.Id];
            tile.Transform.translation = {static_cast<float>(column) * 2.0f * t + map.OriginX,
                                          map.OriginY - static_cast<float>(row) * 2.0f * t, z};
            tile.Transform.scale = {t, t, 1.0f};
            if (tile.Id != 0) ApplyFlips(flags, tile.Transform);
            if (map.backgroundLayer) {
                tile.Transform.translation.x -= 2.0f * t / 3.0f;
                tile.Transform.translation.y -= 2.0f * t / 3.0f;
            }
            if (tile.Type.atOrigin) {
                map.AnchorRow = row;
                map.AnchorColumn = column;
                map.CollisionLayers.back() = true;
            }
            if (tile.Type.isCollidable) {
                tile.Collider.Size = {t, t};
                map.CollisionLayers.back() = true;
            }
            tiles.push_back(tile);
            if (++column == map.Width) {
                column = 0;
                ++row;
            }
        }
    }
    ++map.LayerCount;
    map.backgroundLayer = false;
}

void ReadLayers(ComponentTileMap& map, const json& root, const std::string& path,
                LoadWarnings& warnings) {
    auto layers = root.find("layers");
    if (layers == root.end() || IsEmptyDocument(*layers)) return;
    if (!layers->is_array()) throw DataError(path + ": \"layers\" must be an array");
    if (root.value("infinite", false)) {
        throw DataError(path +
                        ": infinite maps are not supported; export the map with a fixed size");
    }
    if (!root.contains("width") || !root.contains("height")) {
        throw DataError(path + ": a map with layers needs \"width\" and \"height\"");
    }
    map.Height = json_read::Integer<int>(root["height"]);
    map.Width = json_read::Integer<int>(root["width"]);
    if (map.Width < 1 || map.Height < 1) {
        throw DataError(path + ": \"width\" and \"height\" must be at least 1");
    }
    if (static_cast<std::int64_t>(map.Width) * map.Height > kMaxCells) {
        throw DataError(path + ": a map of " + std::to_string(map.Width) + " x " +
                        std::to_string(map.Height) + " cells is larger than the limit of " +
                        std::to_string(kMaxCells));
    }
    const float t = map.TileSize;
    map.OriginX = -(static_cast<float>(map.Width) * 0.5f * 2.0f * t) + t;
    if (map.Width % 2 != 0) map.OriginX -= t;
    map.OriginY = static_cast<float>(map.Height) * 0.5f * 2.0f * t - t;
    if (map.Height % 2 != 0) map.OriginY += t;

    for (const json& layer : *layers) ReadLayer(map, layer, path, warnings);

    if (map.AnchorColumn != -1) {
        // Centre the anchor cell on the world origin; the background shift is not re-applied.
        map.OriginX = -2.0f * (static_cast<float>(map.AnchorColumn) * t);
        map.OriginY = 2.0f * (static_cast<float>(map.AnchorRow) * t);
        for (auto& layer : map.Layers) {
            for (Tile& tile : layer) {
                tile.Transform.translation.x =
                    2.0f * (static_cast<float>(tile.Column - map.AnchorColumn) * t);
                tile.Transform.translation.y =
                    2.0f * (static_cast<float>(map.AnchorRow - tile.Row) * t);
            }
        }
    }
    map.Layers.emplace_back(1, Tile{});
}

void Report(const LoadWarnings& warnings, const std::string& path) {
    if (warnings.unknownIds > 0) {
        std::cerr << path << ": warning: " << warnings.unknownIds
                  << " tile ids name no loaded tile type (first: " << warnings.firstUnknownId
                  << "); they are left empty\n";
    }
    if (warnings.badTileEntries > 0) {
        std::cerr << path << ": warning: " << warnings.badTileEntries
                  << " tile-set \"tiles\" entries have an \"id\" outside their tile set; their "
                     "properties are ignored\n";
    }
    if (warnings.zeroColumnSets > 0) {
        std::cerr << path << ": warning: " << warnings.zeroColumnSets
                  << " tile sets have \"columns\" 0; their tiles are read as one row\n";
    }
}

}  // namespace

ComponentTileMap::ComponentTileMap() : TileTypes(1) {}
ComponentTileMap::~ComponentTileMap() = default;
ComponentTileMap::ComponentTileMap(const ComponentTileMap&) = default;
ComponentTileMap& ComponentTileMap::operator=(const ComponentTileMap&) = default;
ComponentTileMap::ComponentTileMap(ComponentTileMap&&) noexcept = default;
ComponentTileMap& ComponentTileMap::operator=(ComponentTileMap&&) noexcept = default;

const Tile& ComponentTileMap::Lookup(int layer, int row, int column) const {
    if (layer >= 0 && layer < LayerCount && static_cast<std::size_t>(layer) < Layers.size() &&
        row >= 0 && row < Height && column >= 0 && column < Width) {
        const std::vector<Tile>& tiles = Layers[layer];
        // A "data" array shorter than the grid leaves the rest of the layer empty.
        const std::size_t cell = static_cast<std::size_t>(row) * Width + column;
        if (cell < tiles.size()) return tiles[cell];
    }
    if (!Layers.empty() && static_cast<std::size_t>(LayerCount) < Layers.size() &&
        !Layers.back().empty()) {
        return Layers.back().front();
    }
    static const Tile kEmpty{};
    return kEmpty;
}

namespace {

/// Truncates towards zero, keeping far-away (or not-a-number) points well outside any grid
/// instead of overflowing.
int TruncatedCell(float quotient) {
    constexpr float kFar = 1.0e8f;
    if (!(quotient > -kFar)) return -static_cast<int>(kFar);
    if (quotient > kFar) return static_cast<int>(kFar);
    return static_cast<int>(quotient);
}

}  // namespace

int ComponentTileMap::RowAt(float y) const {
    return TruncatedCell((y - (TileSize + OriginY)) / (-2.0f * TileSize));
}

int ComponentTileMap::ColumnAt(float x) const {
    return TruncatedCell((x - (OriginX - TileSize)) / (2.0f * TileSize));
}

void LoadTileMap(ComponentTileMap& map, const std::string& name) {
    const std::string path = kTiledFolder + name + ".json";
    if (!InsideAssets("Data/Tiled", name)) throw DataError(path + ": leads outside Assets/");
    const json root = ParseFile(path);
    if (IsEmptyDocument(root)) return;
    if (!root.is_object()) throw DataError(path + ": a map must be a JSON object");
    LoadWarnings warnings;
    try {
        ReadTilesets(map, root, path, warnings);
        ReadLayers(map, root, path, warnings);
    } catch (const json::exception& e) {
        throw DataError(path + ": " + e.what());
    }
    Report(warnings, path);
}

void from_json(const json& j, ComponentTileMap& map) {
    if (!j.is_object()) return;
    if (auto size = j.find("Tile Size"); size != j.end()) {
        // Zero would put every tile on one point and make every cell lookup divide by zero.
        const float value = size->get<float>();
        if (value > 0.0f) map.TileSize = value;
    }
    if (auto file = j.find("TileMapJsonFilePath"); file != j.end()) {
        LoadTileMap(map, file->get<std::string>());
    }
}
