#include "tiled/TileMapFile.h"

#include <cctype>
#include <cstdint>
#include <iostream>
#include <limits>

#include "engine/ContentPath.h"
#include "engine/DataFile.h"
#include "engine/JsonRead.h"

using json = nlohmann::json;
using tilemap_file::IsEmptyDocument;
using tilemap_file::LoadWarnings;

namespace {

// The editor keeps its flip and rotation flags in the top four bits of a tile id.
constexpr std::uint32_t kFlagBits = 0xF0000000u;
constexpr std::uint32_t kFlipHorizontal = 0x80000000u;
constexpr std::uint32_t kFlipVertical = 0x40000000u;
constexpr std::uint32_t kFlipDiagonal = 0x20000000u;

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
    if (static_cast<std::int64_t>(map.Width) * map.Height > tilemap_file::kMaxCells) {
        throw DataError(path + ": a map of " + std::to_string(map.Width) + " x " +
                        std::to_string(map.Height) + " cells is larger than the limit of " +
                        std::to_string(tilemap_file::kMaxCells));
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

void LoadTileMap(ComponentTileMap& map, const std::string& name) {
    const std::string path = tilemap_file::kFolder + name + ".json";
    if (!InsideAssets("Data/Tiled", name)) throw DataError(path + ": leads outside Assets/");
    const json root = ReadDataFile(path);
    if (IsEmptyDocument(root)) return;
    if (!root.is_object()) throw DataError(path + ": a map must be a JSON object");
    LoadWarnings warnings;
    try {
        tilemap_file::ReadTilesets(map, root, path, warnings);
        ReadLayers(map, root, path, warnings);
    } catch (const json::exception& e) {
        throw DataFileError(path, e);
    }
    Report(warnings, path);
}
