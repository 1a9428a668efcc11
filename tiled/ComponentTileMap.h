#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include "engine/ComponentSprite.h"
#include "tiled/Tile.h"

/// One tile map, loaded from the tile-map editor's JSON export under ./Assets/Data/Tiled/.
/// T = TileSize is a tile's half-extent: neighbouring centres are 2T apart. Rows count down
/// from the top row, columns to the right; world y grows upwards.
struct ComponentTileMap {
    static constexpr std::string_view kName = "TileMap";

    ComponentTileMap();
    ~ComponentTileMap();
    ComponentTileMap(const ComponentTileMap&);
    ComponentTileMap& operator=(const ComponentTileMap&);
    ComponentTileMap(ComponentTileMap&&) noexcept;
    ComponentTileMap& operator=(ComponentTileMap&&) noexcept;

    /// One row-major vector per map layer (cell = Row * Width + Column). After a load with at
    /// least one layer a last extra layer holds one default Tile: the sentinel that lookups
    /// outside the grid return.
    std::vector<std::vector<Tile>> Layers;
    float TileSize = 1.0f;
    /// World position of the centre of cell (row 0, column 0).
    float OriginX = 0.0f;
    float OriginY = 0.0f;
    /// Cell of the anchor tile; -1 when the map has none.
    int AnchorRow = -1;
    int AnchorColumn = -1;
    /// Indexed by tile id; entry 0 is the empty cell.
    std::vector<TileType> TileTypes;
    /// Map layers, the sentinel not counted.
    int LayerCount = 0;
    int Height = 0;
    int Width = 0;
    /// Tile-set entries processed (also those that added nothing).
    int TilesetCount = 0;
    /// One sheet description per tile set: dimensions (columns, rows), index (0, 0).
    std::vector<ComponentSprite> TilesetSprites;
    /// One colour per layer.
    std::vector<glm::vec4> LayerTints;
    /// One z per layer.
    std::vector<float> LayerZ;
    /// Per layer: it holds a solid or an anchor tile.
    std::vector<bool> CollisionLayers;
    /// Draw only the collision layers.
    bool debugDraw = false;
    /// Scratch flag while one layer loads.
    bool backgroundLayer = false;

    /// The tile of a cell, or the sentinel (empty, not solid) outside the grid.
    const Tile& Lookup(int layer, int row, int column) const;
    /// The cell nearest to a world point (not clamped to the grid).
    int RowAt(float y) const;
    int ColumnAt(float x) const;
};

/// Reads "Tile Size" (a value that is not positive keeps the default) and then loads the map
/// named by "TileMapJsonFilePath" from ./Assets/Data/Tiled/<name>.json. A missing or malformed
/// map or tile-set file throws DataError naming that file.
void from_json(const nlohmann::json& j, ComponentTileMap& map);

/// Loads ./Assets/Data/Tiled/<name>.json into `map` (see from_json).
void LoadTileMap(ComponentTileMap& map, const std::string& name);
