#include <gtest/gtest.h>

#include <sstream>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "physics2d/MessageCollision.h"
#include "physics2d/SystemCollisionBox.h"
#include "tests/support/RecordingBus.h"

using json = nlohmann::json;

namespace {

using Contact = std::pair<EntityId, EntityId>;

struct BoxWorld {
    BoxWorld() { bus.Attach(boxes, transforms); }

    void Box(EntityId id, glm::vec2 at, glm::vec2 size) {
        transforms.components[id].translation = {at.x, at.y, 0.0f};
        boxes.components[id].Size = size;
    }
    ComponentCollisionBox& Get(EntityId id) { return boxes.components.at(id); }
    /// The box ids in table order.
    std::vector<EntityId> Order() const {
        std::vector<EntityId> ids;
        for (const auto& entry : boxes.components) ids.push_back(entry.first);
        return ids;
    }

    /// One update; `during` runs for every collision message while it is delivered.
    std::vector<Contact> Update(const std::function<void(const MessageCollision&)>& during = {}) {
        std::vector<Contact> contacts;
        bus.recorder.onMessage = [&](const Message& m) {
            if (m.TypeId() != MessageId::Collision) return;
            const auto& c = static_cast<const MessageCollision&>(m);
            contacts.emplace_back(c.Entity, c.Other);
            if (during) during(c);
        };
        EXPECT_FALSE(boxes.HandleMessage(MessageUpdate(1.0f / 60.0f)));
        bus.recorder.onMessage = nullptr;
        return contacts;
    }

    RecordingBus bus;
    SystemCollisionBox boxes;
    SystemTransform transforms;
};

}  // namespace

TEST(CollisionBox, OverlapGivesOpposedDepthsAndTwoMessagesFirstInTableOrder) {
    BoxWorld world;
    world.Box(1, {0.0f, 0.0f}, {1.0f, 1.0f});
    world.Box(2, {1.5f, 0.5f}, {1.0f, 1.0f});
    const std::vector<EntityId> order = world.Order();

    EXPECT_EQ(world.Update(), (std::vector<Contact>{{order[0], order[1]}, {order[1], order[0]}}));
    EXPECT_FLOAT_EQ(world.Get(1).Penetration.x, -0.5f);
    EXPECT_FLOAT_EQ(world.Get(2).Penetration.x, 0.5f);
    EXPECT_FLOAT_EQ(world.Get(1).Penetration.y, -1.5f);
    EXPECT_FLOAT_EQ(world.Get(2).Penetration.y, 1.5f);

    // Touching edges are no contact, and the depths go back to zero.
    world.Box(2, {2.0f, 0.0f}, {1.0f, 1.0f});
    EXPECT_TRUE(world.Update().empty());
    EXPECT_EQ(world.Get(1).Penetration, glm::vec2(0.0f));
    EXPECT_EQ(world.Get(2).Penetration, glm::vec2(0.0f));
}

TEST(CollisionBox, EqualCentresPushTheEarlierBoxTowardsMinus) {
    BoxWorld world;
    world.Box(1, {3.0f, 3.0f}, {1.0f, 2.0f});
    world.Box(2, {3.0f, 3.0f}, {1.0f, 2.0f});
    const std::vector<EntityId> order = world.Order();
    EXPECT_EQ(world.Update().size(), 2u);
    EXPECT_EQ(world.Get(order[0]).Penetration, glm::vec2(-2.0f, -4.0f));
    EXPECT_EQ(world.Get(order[1]).Penetration, glm::vec2(2.0f, 4.0f));
}

TEST(CollisionBox, LaterTestWithoutContactResetsDepthsSeenDuringTheMessage) {
    BoxWorld world;
    for (EntityId id : {1, 2, 3}) world.Box(id, {0.0f, 0.0f}, {1.0f, 1.0f});
    const std::vector<EntityId> order = world.Order();
    // First and second overlap, the third is far away from both.
    world.Box(order[1], {1.0f, 0.0f}, {1.0f, 1.0f});
    world.Box(order[2], {50.0f, 0.0f}, {1.0f, 1.0f});

    std::vector<glm::vec2> seen;
    const auto contacts = world.Update(
        [&](const MessageCollision& c) { seen.push_back(world.Get(c.Entity).Penetration); });
    ASSERT_EQ(contacts.size(), 2u);
    EXPECT_EQ(seen[0], glm::vec2(-1.0f, -2.0f));
    EXPECT_EQ(seen[1], glm::vec2(1.0f, 2.0f));
    // (first, third) came after (first, second); (second, third) came last.
    EXPECT_EQ(world.Get(order[0]).Penetration, glm::vec2(0.0f));
    EXPECT_EQ(world.Get(order[1]).Penetration, glm::vec2(0.0f));
}

TEST(CollisionBox, ReadsTranslationsLiveAndInWorldSpace) {
    BoxWorld world;
    for (EntityId id : {1, 2, 3}) world.Box(id, {0.0f, 0.0f}, {1.0f, 1.0f});
    const std::vector<EntityId> order = world.Order();
    // A responder to the first contact moves the third box away: the later tests see it gone.
    const auto contacts = world.Update([&](const MessageCollision& c) {
        if (c.Entity == order[0] && c.Other == order[1]) {
            world.transforms.components[order[2]].translation.x = 100.0f;
        }
    });
    EXPECT_EQ(contacts, (std::vector<Contact>{{order[0], order[1]}, {order[1], order[0]}}));

    // A child box sits at its parent's translation plus its own.
    BoxWorld family;
    family.Box(1, {0.0f, 0.0f}, {1.0f, 1.0f});
    family.Box(2, {-10.0f, 0.0f}, {1.0f, 1.0f});
    family.transforms.components[3].translation = {10.5f, 0.0f, 0.0f};
    family.transforms.components[2].parent = 3;
    EXPECT_EQ(family.Update().size(), 2u);
    EXPECT_FLOAT_EQ(family.Get(2).Penetration.x, 1.5f);
}

TEST(CollisionBox, HandlersAddingAndErasingBoxesDoNotDisturbThePass) {
    BoxWorld world;
    for (EntityId id = 1; id <= 4; ++id) world.Box(id, {0.0f, 0.0f}, {1.0f, 1.0f});
    const std::vector<EntityId> order = world.Order();
    int messagesAboutErased = 0;
    bool erased = false;
    const auto contacts = world.Update([&](const MessageCollision& c) {
        if (erased && (c.Entity == order[3] || c.Other == order[3])) ++messagesAboutErased;
        if (!erased) {
            // Enough new boxes to rehash the table, all overlapping, then one erased.
            for (EntityId id = 100; id < 400; ++id) world.Box(id, {0.0f, 0.0f}, {1.0f, 1.0f});
            world.bus.Send(MessageQueryContainer<ComponentCollisionBox>(
                [&](std::unordered_map<EntityId, ComponentCollisionBox>& table) {
                    table.erase(order[3]);
                }));
            erased = true;
        }
    });
    EXPECT_EQ(messagesAboutErased, 0);
    // The three remaining boxes of the pass meet each other once per pair; new boxes wait.
    EXPECT_EQ(contacts.size(), 6u);
    EXPECT_EQ(world.Update().size(), 2u * (303u * 302u / 2u));
}

TEST(CollisionBox, JsonNeedsTwoSizeElements) {
    SystemCollisionBox boxes;
    auto add = [&](json value) {
        return boxes.HandleMessage(MessageAddComponentJSON("", 1, value, "Box Collider"));
    };
    EXPECT_THROW(add(json::object()), json::out_of_range);
    EXPECT_THROW(add({{"Size", {1}}}), json::out_of_range);
    EXPECT_THROW(add({{"Size", 1}}), json::type_error);
    EXPECT_TRUE(boxes.components.empty());
    EXPECT_TRUE(add({{"Size", {1.5, 2, 9}}}));
    EXPECT_EQ(boxes.components.at(1).Size, glm::vec2(1.5f, 2.0f));
    EXPECT_EQ(boxes.components.at(1).Penetration, glm::vec2(0.0f));

    std::ostringstream trace;
    MessageCollision(4, 7).Trace(trace);
    EXPECT_EQ(trace.str(), "Entity 4 has collided with entity 7");
}

TEST(CollisionBox, OutlinesAreAxisAlignedInFrontOfTheEntity) {
    BoxWorld world;
    world.Box(1, {2.0f, 3.0f}, {0.5f, 1.5f});
    world.transforms.components[1].translation.z = 1.0f;
    world.transforms.components[1].rotation.z = 1.0f;
    std::vector<ComponentTransform> drawn;
    std::string texture;
    world.bus.recorder.onMessage = [&](const Message& m) {
        if (auto* sprite = MessageAs<MessageSpriteRender>(m)) {
            drawn.push_back(sprite->transform);
            texture = sprite->sprite.texture;
        }
    };
    world.boxes.HandleMessage(MessageRender());
    EXPECT_TRUE(drawn.empty());
    world.boxes.HandleMessage(MessageKey(81, 1, 0, true));
    EXPECT_FALSE(world.boxes.HandleMessage(MessageRender()));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(texture, "ProgrammerArt/colliderBoxDebugOutline");
    EXPECT_EQ(drawn[0].translation, glm::vec3(2.0f, 3.0f, 1.1f));
    EXPECT_EQ(drawn[0].scale, glm::vec3(1.0f, 3.0f, 1.0f));
    EXPECT_EQ(drawn[0].rotation, glm::vec3(0.0f));
}
