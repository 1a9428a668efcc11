#include <gtest/gtest.h>

#include <limits>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/SystemTransform.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemCollisionCircle.h"
#include "physics2d/SystemPhysics.h"
#include "tests/support/RecordingBus.h"
#include "tests/support/TestEngine.h"
#include "tests/tiled/TiledFixtures.h"
#include "tiled/MessageCollisionTile.h"
#include "tiled/SystemTileMap.h"

using namespace fixtures;

namespace {

struct Hit {
    EntityId entity;
    int row;
    int column;
    glm::vec2 tilePenetration;
    const ComponentTileMap* map;
};

/// 5 x 8 cells of T = 1 with a solid floor in the bottom row: floor centres at y = -7, its top
/// at y = -6; column centres at x = -5, -3, -1, 1, 3.
json Floor() {
    json data = json::array();
    for (int i = 0; i < 40; ++i) data.push_back(i >= 35 ? 1 : 0);
    return Map(5, 8, {Layer(data)}, {TileSet(1, 1, {TileProps(0, {"isCollidable"})})});
}

/// 8 x 5 cells of T = 1 with a solid wall in the rightmost column: wall centres at x = 7, its
/// left face at x = 6; row centres at y = 5, 3, 1, -1, -3.
json Wall() {
    json data = json::array();
    for (int i = 0; i < 40; ++i) data.push_back(i % 8 == 7 ? 1 : 0);
    return Map(8, 5, {Layer(data)}, {TileSet(1, 1, {TileProps(0, {"isCollidable"})})});
}

struct TileWorld {
    TileWorld() { bus.Attach(boxes, circles, transforms, maps); }

    void AddMap(EntityId id, const std::string& name) {
        maps.HandleMessage(
            MessageAddComponentJSON("", id, {{"TileMapJsonFilePath", name}}, "TileMap"));
    }
    void Box(EntityId id, glm::vec2 at, glm::vec2 size) {
        transforms.components[id].translation = {at.x, at.y, 0.0f};
        boxes.components[id].Size = size;
    }
    void Circle(EntityId id, glm::vec2 at, float radius) {
        transforms.components[id].translation = {at.x, at.y, 0.0f};
        circles.components[id].Radius = radius;
    }
    std::vector<Hit> Update(const std::function<void(const MessageCollisionTile&)>& during = {}) {
        std::vector<Hit> hits;
        bus.recorder.onMessage = [&](const Message& m) {
            if (m.TypeId() != MessageId::CollisionTile) return;
            const auto& c = static_cast<const MessageCollisionTile&>(m);
            hits.push_back(
                {c.Entity, c.Tile.Row, c.Tile.Column, c.Tile.Collider.Penetration, &c.TileMap});
            if (during) during(c);
        };
        EXPECT_FALSE(maps.HandleMessage(MessageUpdate(1.0f / 60.0f)));
        bus.recorder.onMessage = nullptr;
        return hits;
    }

    TempAssets assets;
    RecordingBus bus;
    SystemCollisionBox boxes;
    SystemCollisionCircle circles;
    SystemTransform transforms;
    SystemTileMap maps;
};

}  // namespace

TEST(TileMapCollision, TallBoxLandsOnTheFloorAndWideBoxMeetsTheWall) {
    TileWorld world;
    Write(world.assets, "Floor", Floor());
    Write(world.assets, "Wall", Wall());
    world.AddMap(50, "Floor");
    // 6 units tall, its feet 0.1 into the floor: its centre is three rows above the floor.
    world.Box(1, {-1.0f, -3.1f}, {0.4f, 3.0f});

    // The box's depths hold the reported contact while its message is handled; later tiles
    // of the window without contact reset them.
    glm::vec2 depths{0.0f};
    auto seeDepths = [&](const MessageCollisionTile&) {
        depths = world.boxes.components[1].Penetration;
    };
    std::vector<Hit> hits = world.Update(seeDepths);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].row, 7);
    EXPECT_EQ(hits[0].column, 2);
    EXPECT_NEAR(depths.y, 0.1f, 1e-5f);
    EXPECT_NEAR(depths.x, -1.4f, 1e-5f);
    EXPECT_EQ(world.boxes.components[1].Penetration, glm::vec2(0.0f));
    EXPECT_NEAR(hits[0].tilePenetration.y, -0.1f, 1e-5f);

    TileWorld side;
    Write(side.assets, "Wall", Wall());
    side.AddMap(50, "Wall");
    side.Box(1, {3.1f, 1.0f}, {3.0f, 0.4f});
    hits = side.Update(
        [&](const MessageCollisionTile&) { depths = side.boxes.components[1].Penetration; });
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].row, 2);
    EXPECT_EQ(hits[0].column, 7);
    EXPECT_NEAR(depths.x, -0.1f, 1e-5f);
}

TEST(TileMapCollision, TouchingTheFloorIsNoContactAndResetsTheDepths) {
    TileWorld world;
    Write(world.assets, "Floor", Floor());
    world.AddMap(50, "Floor");
    world.Box(1, {-1.0f, -5.5f}, {0.5f, 0.5f});
    world.boxes.components[1].Penetration = {9.0f, 9.0f};
    EXPECT_TRUE(world.Update().empty());
    EXPECT_EQ(world.boxes.components[1].Penetration, glm::vec2(0.0f));

    // Far outside the map, not a number, or larger than the whole map: no hang, no stray reads.
    world.Box(2, {1.0e9f, -1.0e9f}, {1.0f, 1.0f});
    world.Box(3, {std::numeric_limits<float>::quiet_NaN(), 0.0f}, {1.0f, 1.0f});
    world.Box(4, {0.0f, 0.0f}, {1.0e30f, 1.0e30f});
    std::vector<Hit> hits = world.Update();
    ASSERT_EQ(hits.size(), 5u);
    for (const Hit& hit : hits) EXPECT_EQ(hit.entity, 4);
}

TEST(TileMapCollision, BoxesBeforeCirclesAndMapsInTableOrder) {
    TileWorld world;
    Write(world.assets, "Floor", Floor());
    world.AddMap(50, "Floor");
    world.AddMap(51, "Floor");
    world.Box(1, {-1.0f, -5.6f}, {0.5f, 0.5f});
    // A circle touching the floor's top counts as contact.
    world.Circle(2, {-1.0f, -5.5f}, 0.5f);
    std::vector<const ComponentTileMap*> order;
    for (const auto& entry : world.maps.components) order.push_back(&entry.second);

    std::vector<Hit> hits = world.Update();
    ASSERT_EQ(hits.size(), 4u);
    const std::vector<EntityId> entities{1, 2, 1, 2};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(hits[i].entity, entities[i]);
        EXPECT_EQ(hits[i].map, order[i / 2]);
        EXPECT_EQ(hits[i].column, 2);
    }
    // Only box contacts carry depths.
    EXPECT_NEAR(hits[0].tilePenetration.y, -0.1f, 1e-5f);
    EXPECT_EQ(hits[1].tilePenetration, glm::vec2(0.0f));
}

TEST(TileMapCollision, HandlersAddingAndErasingCollidersDoNotDisturbThePass) {
    TileWorld world;
    Write(world.assets, "Floor", Floor());
    world.AddMap(50, "Floor");
    for (EntityId id = 1; id <= 4; ++id) world.Box(id, {-1.0f, -5.6f}, {0.5f, 0.5f});
    world.Circle(5, {-1.0f, -5.6f}, 0.5f);
    std::vector<EntityId> order;
    for (const auto& entry : world.boxes.components) order.push_back(entry.first);

    bool changed = false;
    std::vector<Hit> hits = world.Update([&](const MessageCollisionTile& c) {
        // The depths of the reported contact are in the box while its message is handled.
        if (c.Entity != 5) {
            EXPECT_NEAR(world.boxes.components[c.Entity].Penetration.y, 0.1f, 1e-5f);
        }
        if (changed) return;
        changed = true;
        for (EntityId id = 100; id < 400; ++id) world.Box(id, {-1.0f, -5.6f}, {0.5f, 0.5f});
        world.bus.Send(MessageQueryContainer<ComponentCollisionBox>(
            [&](std::unordered_map<EntityId, ComponentCollisionBox>& table) {
                table.erase(order[3]);
            }));
        world.bus.Send(MessageQueryContainer<ComponentCollisionCircle>(
            [&](std::unordered_map<EntityId, ComponentCollisionCircle>& table) {
                table.erase(5);
            }));
    });
    std::vector<EntityId> entities;
    for (const Hit& hit : hits) entities.push_back(hit.entity);
    EXPECT_EQ(entities, (std::vector<EntityId>{order[0], order[1], order[2]}));
    EXPECT_EQ(world.Update().size(), 303u);
}

TEST(TileMapCollision, EntityFilesDriveTheWholeBus) {
    TempAssets assets;
    Write(assets, "Floor", Floor());
    assets.Entity("Level", {{"TileMap", {{"TileMapJsonFilePath", "Floor"}, {"Tile Size", 1}}}});
    assets.Entity("Crate", {{"Transform", {{"Translation", {-1, -4, 0}}}},
                            {"Physics", {{"Velocity", {0, -6, 0}}}},
                            {"Box Collider", {{"Size", {0.5, 0.5}}}}});
    assets.Scene("Play", {{"a", "Level"}, {"b", "Crate"}});
    std::vector<std::unique_ptr<SystemBase>> systems;
    systems.push_back(std::make_unique<SystemCollisionBox>());
    systems.push_back(std::make_unique<SystemCollisionCircle>());
    systems.push_back(std::make_unique<SystemPhysics>());
    systems.push_back(std::make_unique<SystemTransform>());
    systems.push_back(std::make_unique<SystemTileMap>());
    TestEngine test(std::move(systems));
    test.Enter("Play");
    test.recorder->Clear();
    // Falling 0.1 per frame from y = -4, the crate's bottom passes the floor's top (y = -6)
    // after 15 frames.
    test.Frames(10, 1.0f / 60.0f);
    EXPECT_EQ(test.recorder->Count(MessageId::CollisionTile), 0);
    test.Frames(10, 1.0f / 60.0f);
    EXPECT_GE(test.recorder->Count(MessageId::CollisionTile), 1);
    // Tiles are drawn every frame; the floor is a collision layer, so nothing shows.
    EXPECT_EQ(test.recorder->Count(MessageId::SpriteRender), 0);
}

TEST(TileMapCollision, ALowTileCollidesOnlyInTheLowerPartOfItsCell) {
    // The floor of Floor(), its tiles colliding in their lower quarter: y -8 to -7.5.
    json data = json::array();
    for (int i = 0; i < 40; ++i) data.push_back(i >= 35 ? 1 : 0);
    json low = TileProps(0, {"isCollidable", "killsPlayer"});
    low["properties"].push_back({{"name", "collisionHeight"}, {"value", 0.25}});
    TileWorld world;
    Write(world.assets, "Low", Map(5, 8, {Layer(data)}, {TileSet(1, 1, {low})}));
    world.AddMap(50, "Low");

    world.Box(1, {-1.0f, -6.9f}, {0.5f, 0.5f});  // in the cell's upper part, above the box
    world.Circle(2, {1.0f, -7.1f}, 0.3f);
    EXPECT_TRUE(world.Update().empty());

    glm::vec2 depths{0.0f};
    world.Box(1, {-1.0f, -7.1f}, {0.5f, 0.5f});  // its bottom 0.1 into the low box
    world.Circle(2, {1.0f, -7.3f}, 0.3f);
    const std::vector<Hit> hits = world.Update([&](const MessageCollisionTile& c) {
        if (c.Entity == 1) depths = world.boxes.components[1].Penetration;
    });
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].entity, 1);
    EXPECT_NEAR(depths.y, 0.1f, 1e-5f);
    EXPECT_EQ(hits[1].entity, 2);
}
