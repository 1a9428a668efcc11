#include "tiled/ComponentTileMap.h"

using json = nlohmann::json;

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
