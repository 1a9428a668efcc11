#pragma once

#include "engine/Message.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"
#include "tiled/ComponentTileMap.h"
#include "tiled/Tile.h"

/// A collider touches a solid tile. Not consumed by the tile-map system, so every responder
/// sees it; both references are valid only while the message is delivered.
class MessageCollisionTile final : public Message {
public:
    MessageCollisionTile(EntityId entity, const ::Tile& tile, const ComponentTileMap& tileMap)
        : Entity(entity), Tile(tile), TileMap(tileMap) {}
    int TypeId() const override { return MessageId::CollisionTile; }
    std::ostream& Trace(std::ostream& out) const override { return out; }

    /// The collider's entity.
    EntityId Entity;
    /// A copy of the touched tile made for this test; for a box collider its
    /// Collider.Penetration holds the tile's signed overlap depths.
    const ::Tile& Tile;
    /// The map the tile belongs to.
    const ComponentTileMap& TileMap;
};
