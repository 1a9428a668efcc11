#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/DataError.h"
#include "tests/support/TempAssets.h"
#include "tiled/ComponentTileMap.h"

// Small map and tile-set documents in the editor's export form, written by each test.
//
// Lists of documents are taken as vectors, not as json: a braced list of one json, such as
// `{Layer(data)}`, makes an array of one with GCC but a copy of the element with clang.
namespace fixtures {

using json = nlohmann::json;

inline json TileSet(int count, int columns, const std::vector<json>& tiles = {},
                    const std::string& image = "../Textures/Tiles/ground.png") {
    return {{"tilecount", count}, {"columns", columns}, {"image", image}, {"tiles", json(tiles)}};
}

/// A "tiles" entry giving tile `id` of its set the named boolean properties.
inline json TileProps(int id, std::initializer_list<const char*> names) {
    json properties = json::array();
    for (const char* name : names) properties.push_back({{"name", name}, {"value", true}});
    return {{"id", id}, {"properties", properties}};
}

inline json Layer(json data, json properties = json::array()) {
    return {{"data", data}, {"properties", properties}};
}

inline json Map(int width, int height, const std::vector<json>& layers,
                const std::vector<json>& tilesets = {}) {
    return {{"width", width},
            {"height", height},
            {"layers", json(layers)},
            {"tilesets", json(tilesets)}};
}

inline void Write(const TempAssets& assets, const std::string& name, const json& document) {
    assets.WriteJson("Assets/Data/Tiled/" + name + ".json", document);
}

inline ComponentTileMap Load(const std::string& name, float tileSize = 1.0f) {
    return json{{"TileMapJsonFilePath", name}, {"Tile Size", tileSize}}.get<ComponentTileMap>();
}

/// The DataError text of loading `name`, or "" when it loads.
inline std::string LoadError(const std::string& name, float tileSize = 1.0f) {
    try {
        Load(name, tileSize);
    } catch (const DataError& e) {
        return e.what();
    }
    return "";
}

}  // namespace fixtures
