#include "tiled/SystemTileMap.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "engine/DebugSwitch.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "engine/MessageViews.h"
#include "engine/SystemTransform.h"
#include "physics2d/Overlap.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemCollisionCircle.h"
#include "tiled/MessageCollisionTile.h"

SystemTileMap::SystemTileMap() = default;

bool SystemTileMap::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update: {
            std::vector<EntityId> maps;
            maps.reserve(components.size());
            for (const auto& entry : components) maps.push_back(entry.first);
            for (EntityId map : maps) {
                BoxPass(map);
                CirclePass(map);
            }
            return false;
        }
        case MessageId::Render:
            for (const auto& entry : components) Draw(entry.second);
            return false;
        case MessageId::Key: {
            const auto& key = static_cast<const MessageKey&>(message);
            for (auto& entry : components) debug_switch::Apply(key, entry.second.debugDraw);
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

namespace {

/// Half-size of the cell window that covers a half-extent, bounded so that a huge or
/// not-a-number size cannot make the walk run away.
int WindowHalfSize(float halfExtent, float tileSize) {
    const float cells = std::ceil(halfExtent / tileSize);
    if (!(cells > 0.0f)) return 0;
    return cells > 1.0e8f ? 100000000 : static_cast<int>(cells);
}

/// The rows or columns [centre - half, centre + half] that lie in [0, count): cells outside
/// the grid are the empty sentinel, which is never solid.
struct Span {
    int first;
    int last;
};

Span ClampedSpan(int centre, int half, int count) {
    const long long first = std::max<long long>(0, static_cast<long long>(centre) - half);
    const long long last = std::min<long long>(count - 1, static_cast<long long>(centre) + half);
    return {static_cast<int>(first), static_cast<int>(last)};
}

/// Calls `test(tile)` for every solid tile in the window around (x, y) of every collision
/// layer, rows outer and columns inner; stops when `test` returns false.
template <class Test>
void ForSolidTiles(const ComponentTileMap& map, float x, float y, int rowHalf, int columnHalf,
                   Test&& test) {
    const Span rows = ClampedSpan(map.RowAt(y), rowHalf, map.Height);
    const Span columns = ClampedSpan(map.ColumnAt(x), columnHalf, map.Width);
    for (int layer = 0; layer < map.LayerCount; ++layer) {
        if (static_cast<std::size_t>(layer) >= map.CollisionLayers.size() ||
            !map.CollisionLayers[layer]) {
            continue;
        }
        for (int row = rows.first; row <= rows.last; ++row) {
            for (int column = columns.first; column <= columns.last; ++column) {
                const Tile& tile = map.Lookup(layer, row, column);
                if (!tile.Type.isCollidable) continue;
                if (!test(tile)) return;
            }
        }
    }
}

/// The tile as it collides: a tile whose type collides only in the lower part of its cell
/// gets a box of that height, resting on the cell's bottom.
Tile Colliding(const Tile& cell) {
    Tile copy = cell;
    const float height = copy.Type.collisionHeight;
    if (height < 1.0f) {
        const float half = copy.Collider.Size.y;
        copy.Collider.Size.y = half * height;
        copy.Transform.translation.y -= half - copy.Collider.Size.y;
    }
    return copy;
}

/// The entry's address (stable while it exists), or null.
template <class C>
C* Find(std::unordered_map<EntityId, C>& table, EntityId id) {
    auto it = table.find(id);
    return it == table.end() ? nullptr : &it->second;
}

}  // namespace

void SystemTileMap::BoxPass(EntityId mapEntity) {
    SendMessage(MessageQueryContainer<
                ComponentCollisionBox>([&](std::unordered_map<EntityId, ComponentCollisionBox>&
                                               boxes) {
        std::vector<EntityId> ids;
        ids.reserve(boxes.size());
        for (const auto& entry : boxes) ids.push_back(entry.first);
        for (EntityId id : ids) {
            const std::function<void(ComponentTransform&)> test = [&](ComponentTransform&
                                                                          transform) {
                // Handlers of earlier contacts may have erased the box or the map.
                ComponentCollisionBox* box = Find(boxes, id);
                const ComponentTileMap* map = Find(components, mapEntity);
                if (!box || !map) return;
                const glm::vec2 centre{transform.translation.x, transform.translation.y};
                // Rows run along y and columns along x, so a tall or wide box finds
                // every cell it overlaps.
                const int rowHalf = WindowHalfSize(box->Size.y, map->TileSize);
                const int columnHalf = WindowHalfSize(box->Size.x, map->TileSize);
                ForSolidTiles(*map, centre.x, centre.y, rowHalf, columnHalf, [&](const Tile& cell) {
                    Tile copy = Colliding(cell);
                    const glm::vec2 at{copy.Transform.translation.x, copy.Transform.translation.y};
                    if (!overlap::Boxes(centre, box->Size, at, copy.Collider.Size, box->Penetration,
                                        copy.Collider.Penetration)) {
                        return true;
                    }
                    SendMessage(MessageCollisionTile(id, copy, *map));
                    box = Find(boxes, id);
                    return box && Find(components, mapEntity) == map;
                });
            };
            SendMessage(MessageQuery<ComponentTransform>(id, test));
        }
    }));
}

void SystemTileMap::CirclePass(EntityId mapEntity) {
    SendMessage(MessageQueryContainer<
                ComponentCollisionCircle>([&](std::unordered_map<
                                              EntityId, ComponentCollisionCircle>& circles) {
        std::vector<EntityId> ids;
        ids.reserve(circles.size());
        for (const auto& entry : circles) ids.push_back(entry.first);
        for (EntityId id : ids) {
            const std::function<void(ComponentTransform&)> test = [&](ComponentTransform&
                                                                          transform) {
                const ComponentCollisionCircle* circle = Find(circles, id);
                const ComponentTileMap* map = Find(components, mapEntity);
                if (!circle || !map) return;
                const glm::vec2 centre{transform.translation.x, transform.translation.y};
                const float radius = circle->Radius;
                const int half = WindowHalfSize(radius, map->TileSize);
                ForSolidTiles(*map, centre.x, centre.y, half, half, [&](const Tile& cell) {
                    const Tile copy = Colliding(cell);
                    const glm::vec2 at{copy.Transform.translation.x, copy.Transform.translation.y};
                    if (!overlap::CircleBox(centre, radius, at, copy.Collider.Size)) {
                        return true;
                    }
                    SendMessage(MessageCollisionTile(id, copy, *map));
                    return Find(circles, id) && Find(components, mapEntity) == map;
                });
            };
            SendMessage(MessageQuery<ComponentTransform>(id, test));
        }
    }));
}

namespace {

/// Cells beyond a view's edge still drawn: covers tiles shifted off their cell, rounding at the
/// edge and a camera that moves later in the frame.
constexpr int kMarginCells = 2;

/// The cells of a grid a view rectangle covers, margin included; empty when it misses the grid.
struct CellWindow {
    Span rows;
    Span columns;

    bool Empty() const { return rows.first > rows.last || columns.first > columns.last; }
    bool Holds(int row, int column) const {
        return row >= rows.first && row <= rows.last && column >= columns.first &&
               column <= columns.last;
    }
};

CellWindow WindowOf(const ComponentTileMap& map, const WorldRect& view) {
    // Rows count down from the top, so the view's top edge gives the first row.
    const int top = map.RowAt(view.max.y);
    const int bottom = map.RowAt(view.min.y);
    const int left = map.ColumnAt(view.min.x);
    const int right = map.ColumnAt(view.max.x);
    const auto span = [](int from, int to, int count) {
        return Span{std::max(0, from - kMarginCells), std::min(count - 1, to + kMarginCells)};
    };
    return {span(std::min(top, bottom), std::max(top, bottom), map.Height),
            span(std::min(left, right), std::max(left, right), map.Width)};
}

}  // namespace

void SystemTileMap::Draw(const ComponentTileMap& map) {
    const MessageQueryViews query;
    SendMessage(query);
    std::vector<CellWindow> windows;
    const bool cull = query.answered && !query.unbounded;
    if (cull) {
        for (const WorldRect& view : query.views) {
            const CellWindow window = WindowOf(map, view);
            if (!window.Empty()) windows.push_back(window);
        }
    }

    const ComponentSprite fallback;
    ComponentSprite sprite;
    const ComponentSprite* current = nullptr;
    // A tile's scale holds its half-extents, as colliders do; the renderer's scale is the
    // quad's full size, so each tile is drawn twice as large as its scale, edge to edge.
    ComponentTransform drawn;
    const auto send = [&](const Tile& tile) {
        if (tile.Id == 0) return;
        const int set = tile.Type.TilesetIndex;
        const ComponentSprite& sheet =
            set >= 0 && static_cast<std::size_t>(set) < map.TilesetSprites.size()
                ? map.TilesetSprites[set]
                : fallback;
        // Tiles of one sheet follow each other, so the names are copied only on a change.
        if (&sheet != current) {
            current = &sheet;
            sprite.texture = sheet.texture;
            sprite.shader = sheet.shader;
            sprite.camera = sheet.camera;
            sprite.blend = sheet.blend;
            sprite.dimensions = sheet.dimensions;
        }
        sprite.index = {tile.Type.SheetColumn, tile.Type.SheetRow};
        sprite.color =
            tile.Layer >= 0 && static_cast<std::size_t>(tile.Layer) < map.LayerTints.size()
                ? map.LayerTints[tile.Layer]
                : glm::vec4{1.0f};
        drawn = tile.Transform;
        drawn.scale.x *= 2.0f;
        drawn.scale.y *= 2.0f;
        SendMessage(MessageSpriteRender(sprite, drawn));
    };

    const std::size_t cells =
        static_cast<std::size_t>(std::max(0, map.Width)) * std::max(0, map.Height);
    for (std::size_t i = 0; i < map.Layers.size(); ++i) {
        // Collision layers are the map's invisible logic; debug mode shows them instead of
        // the decoration. The sentinel layer counts as decoration (it is always empty).
        const bool collision = i < static_cast<std::size_t>(map.LayerCount) &&
                               i < map.CollisionLayers.size() && map.CollisionLayers[i];
        if (collision != map.debugDraw) continue;
        const std::vector<Tile>& layer = map.Layers[i];
        // Only a full grid layer can be walked by cell; anything else is drawn whole.
        if (!cull || layer.size() != cells) {
            for (const Tile& tile : layer) send(tile);
            continue;
        }
        for (std::size_t w = 0; w < windows.size(); ++w) {
            const CellWindow& window = windows[w];
            for (int row = window.rows.first; row <= window.rows.last; ++row) {
                for (int column = window.columns.first; column <= window.columns.last; ++column) {
                    // A cell two views share is drawn once, by the first.
                    bool seen = false;
                    for (std::size_t e = 0; e < w && !seen; ++e) {
                        seen = windows[e].Holds(row, column);
                    }
                    if (seen) continue;
                    send(layer[static_cast<std::size_t>(row) * map.Width + column]);
                }
            }
        }
    }
}
