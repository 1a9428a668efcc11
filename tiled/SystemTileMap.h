#pragma once

#include "engine/System.h"
#include "tiled/ComponentTileMap.h"

/// Owns the tile maps of a state: tests every box and circle collider against the solid tiles
/// around it (MessageCollisionTile per contact) and draws the tiles the cameras see (all of them
/// when no camera answers) each render.
class SystemTileMap : public System<ComponentTileMap, SystemTileMap> {
public:
    SystemTileMap();
    bool HandleMessage(const Message& message) override;

private:
    void BoxPass(EntityId mapEntity);
    void CirclePass(EntityId mapEntity);
    void Draw(const ComponentTileMap& map);
};
