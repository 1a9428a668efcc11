#include <gtest/gtest.h>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "physics2d/MessageCollision.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemCollisionCircle.h"
#include "tests/support/RecordingBus.h"

namespace {

using Contact = std::pair<EntityId, EntityId>;

struct CircleWorld {
    CircleWorld() { bus.Attach(boxes, circles, transforms); }

    void Circle(EntityId id, glm::vec2 at, float radius) {
        transforms.components[id].translation = {at.x, at.y, 0.0f};
        circles.components[id].Radius = radius;
    }
    void Box(EntityId id, glm::vec2 at, glm::vec2 size) {
        transforms.components[id].translation = {at.x, at.y, 0.0f};
        boxes.components[id].Size = size;
    }
    std::vector<Contact> Update() {
        std::vector<Contact> contacts;
        bus.recorder.onMessage = [&](const Message& m) {
            if (m.TypeId() != MessageId::Collision) return;
            const auto& c = static_cast<const MessageCollision&>(m);
            contacts.emplace_back(c.Entity, c.Other);
        };
        EXPECT_FALSE(circles.HandleMessage(MessageUpdate(1.0f / 60.0f)));
        bus.recorder.onMessage = nullptr;
        return contacts;
    }

    RecordingBus bus;
    SystemCollisionBox boxes;
    SystemCollisionCircle circles;
    SystemTransform transforms;
};

}  // namespace

TEST(CollisionCircle, TouchingCirclesCollide) {
    CircleWorld world;
    world.Circle(1, {0.0f, 0.0f}, 1.0f);
    world.Circle(2, {2.0f, 0.0f}, 1.0f);
    std::vector<EntityId> order;
    for (const auto& entry : world.circles.components) order.push_back(entry.first);
    EXPECT_EQ(world.Update(), (std::vector<Contact>{{order[0], order[1]}, {order[1], order[0]}}));

    world.Circle(2, {2.01f, 0.0f}, 1.0f);
    EXPECT_TRUE(world.Update().empty());
    // Radius 0 at the same point still touches.
    world.Circle(2, {0.0f, 0.0f}, 0.0f);
    world.Circle(1, {0.0f, 0.0f}, 0.0f);
    EXPECT_EQ(world.Update().size(), 2u);
}

TEST(CollisionCircle, CornerRegionUsesTheDistanceToTheCorner) {
    CircleWorld world;
    world.Box(10, {0.0f, 0.0f}, {1.0f, 1.0f});
    world.Circle(1, {1.8f, 1.8f}, 1.0f);
    EXPECT_TRUE(world.Update().empty());

    world.Circle(1, {1.5f, 1.5f}, 1.0f);
    EXPECT_EQ(world.Update(), (std::vector<Contact>{{1, 10}, {10, 1}}));
    // Beside an edge the extended side decides: touching at 2.0 collides, 2.01 does not.
    world.Circle(1, {-2.0f, 0.9f}, 1.0f);
    EXPECT_EQ(world.Update().size(), 2u);
    world.Circle(1, {0.5f, -2.01f}, 1.0f);
    EXPECT_TRUE(world.Update().empty());
    // The box's depths are left alone by circle tests.
    EXPECT_EQ(world.boxes.components.at(10).Penetration, glm::vec2(0.0f));
}

TEST(CollisionCircle, CirclePairsComeBeforeCircleBoxPairs) {
    CircleWorld world;
    world.Box(10, {0.0f, 0.0f}, {1.0f, 1.0f});
    world.Circle(1, {0.0f, 0.0f}, 1.0f);
    world.Circle(2, {0.5f, 0.0f}, 1.0f);
    const auto contacts = world.Update();
    ASSERT_EQ(contacts.size(), 6u);
    EXPECT_NE(contacts[0].first, 10);
    EXPECT_NE(contacts[0].second, 10);
    EXPECT_NE(contacts[1].first, 10);
    // Circle first, then the box, for every circle-box contact.
    for (std::size_t i = 2; i < 6; i += 2) {
        EXPECT_EQ(contacts[i].second, 10);
        EXPECT_EQ(contacts[i + 1].first, 10);
        EXPECT_EQ(contacts[i + 1].second, contacts[i].first);
    }
}

TEST(CollisionCircle, OutlinesAreScaledByTheRadius) {
    CircleWorld world;
    world.Circle(1, {1.0f, 2.0f}, 2.5f);
    world.transforms.components[1].translation = {1.0f, 2.0f, 3.0f};
    std::vector<ComponentTransform> drawn;
    world.bus.recorder.onMessage = [&](const Message& m) {
        if (auto* sprite = MessageAs<MessageSpriteRender>(m)) {
            EXPECT_EQ(sprite->sprite.texture, "ProgrammerArt/colliderCircleDebugOutline");
            drawn.push_back(sprite->transform);
        }
    };
    world.circles.HandleMessage(MessageKey(81, 1, 0, true));
    world.circles.HandleMessage(MessageRender());
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].translation, glm::vec3(1.0f, 2.0f, 3.1f));
    EXPECT_EQ(drawn[0].scale, glm::vec3(5.0f, 5.0f, 1.0f));
}
