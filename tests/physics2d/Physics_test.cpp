#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "physics2d/SystemPhysics.h"
#include "tests/support/RecordingBus.h"

using json = nlohmann::json;

namespace {

struct BodyWorld {
    BodyWorld() { bus.Attach(physics, transforms); }

    void Place(EntityId id, glm::vec3 at) { transforms.components[id].translation = at; }

    RecordingBus bus;
    SystemPhysics physics;
    SystemTransform transforms;
};

struct Arrow {
    std::string texture;
    ComponentTransform transform;
};

std::vector<Arrow> Render(BodyWorld& world) {
    std::vector<Arrow> arrows;
    world.bus.recorder.onMessage = [&](const Message& m) {
        if (auto* sprite = MessageAs<MessageSpriteRender>(m)) {
            arrows.push_back({sprite->sprite.texture, sprite->transform});
        }
    };
    EXPECT_FALSE(world.physics.HandleMessage(MessageRender()));
    world.bus.recorder.onMessage = nullptr;
    return arrows;
}

}  // namespace

TEST(Physics, StepUsesTheNewVelocityAndRemembersThePreviousTranslation) {
    BodyWorld world;
    world.Place(1, {3.0f, 4.0f, 5.0f});
    world.Place(2, {0.0f, 0.0f, 0.0f});
    world.physics.components[1].Velocity = {1.0f, 0.0f, 0.0f};
    world.physics.components[2].Acceleration = {0.0f, -10.0f, 0.0f};
    world.physics.components[2].RotationalAcceleration = {0.0f, 0.0f, 2.0f};

    EXPECT_FALSE(world.physics.HandleMessage(MessageUpdate(0.5f)));

    EXPECT_FLOAT_EQ(world.transforms.components[1].translation.x, 3.5f);
    EXPECT_EQ(world.physics.components[1].PreviousTranslation, glm::vec3(3.0f, 4.0f, 5.0f));
    const ComponentPhysics& falling = world.physics.components[2];
    EXPECT_FLOAT_EQ(falling.Velocity.y, -5.0f);
    EXPECT_FLOAT_EQ(world.transforms.components[2].translation.y, -2.5f);
    EXPECT_FLOAT_EQ(falling.RotationalVelocity.z, 1.0f);
    EXPECT_FLOAT_EQ(world.transforms.components[2].rotation.z, 0.5f);
    EXPECT_EQ(world.transforms.components[2].scale, glm::vec3(1.0f));
}

TEST(Physics, ZeroStepOnlyCopiesTheTranslation) {
    BodyWorld world;
    world.Place(1, {1.0f, 2.0f, 3.0f});
    ComponentPhysics& p = world.physics.components[1];
    p.Velocity = {7.0f, 7.0f, 7.0f};
    p.Acceleration = {1.0f, 1.0f, 1.0f};
    p.RotationalVelocity = {2.0f, 2.0f, 2.0f};

    world.physics.HandleMessage(MessageUpdate(0.0f));

    EXPECT_EQ(p.PreviousTranslation, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(p.Velocity, glm::vec3(7.0f));
    EXPECT_EQ(world.transforms.components[1].translation, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(world.transforms.components[1].rotation, glm::vec3(0.0f));
}

TEST(Physics, ChildMovesInWorldSpaceAndWithoutTransformNothingChanges) {
    BodyWorld world;
    world.Place(1, {10.0f, 0.0f, 0.0f});
    world.Place(2, {1.0f, 0.0f, 0.0f});
    world.transforms.components[2].parent = 1;
    world.physics.components[2].Velocity = {2.0f, 0.0f, 0.0f};
    // Entity 3 has physics but no transform.
    world.physics.components[3].Velocity = {1.0f, 1.0f, 1.0f};
    world.physics.components[3].Acceleration = {1.0f, 0.0f, 0.0f};

    world.physics.HandleMessage(MessageUpdate(1.0f));

    EXPECT_EQ(world.physics.components[2].PreviousTranslation, glm::vec3(11.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(world.transforms.components[2].translation.x, 3.0f);
    EXPECT_EQ(world.physics.components[3].Velocity, glm::vec3(1.0f));
    EXPECT_EQ(world.physics.components[3].PreviousTranslation, glm::vec3(0.0f));
}

TEST(Physics, ReadsItsJsonKeysAndRejectsShortArrays) {
    BodyWorld world;
    auto add = [&](EntityId id, json value) {
        return world.physics.HandleMessage(MessageAddComponentJSON("", id, value, "Physics"));
    };
    EXPECT_TRUE(add(1, json::object()));
    EXPECT_EQ(world.physics.components.at(1).Velocity, glm::vec3(0.0f));

    EXPECT_TRUE(add(2, {{"Velocity", {1, 2, 3, 4}},
                        {"Acceleration", {true, false, 2.5}},
                        {"Rotational Velocity", {0, 0, 1}},
                        {"Rotational Acceleration", {0, 1, 0}}}));
    const ComponentPhysics& read = world.physics.components.at(2);
    EXPECT_EQ(read.Velocity, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(read.Acceleration, glm::vec3(1.0f, 0.0f, 2.5f));
    EXPECT_EQ(read.RotationalVelocity, glm::vec3(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(read.RotationalAcceleration, glm::vec3(0.0f, 1.0f, 0.0f));

    EXPECT_THROW(add(3, {{"Velocity", {1, 2}}}), json::out_of_range);
    EXPECT_EQ(world.physics.components.count(3), 0u);
}

TEST(Physics, ArrowsFollowTheDebugKeysAndPointAlongTheVelocity) {
    BodyWorld world;
    world.Place(1, {1.0f, 2.0f, 3.0f});
    world.Place(2, {0.0f, 0.0f, 0.0f});
    world.Place(3, {0.0f, 0.0f, 0.0f});
    world.physics.components[1].Velocity = {-1.0f, 0.0f, 0.0f};
    world.physics.components[2].Velocity = {0.0f, 0.0f, 5.0f};
    world.physics.components[3].Velocity = {0.0f, std::numeric_limits<float>::quiet_NaN(), 0.0f};

    EXPECT_TRUE(Render(world).empty());
    // Without the debug flag, or on release, Q does nothing.
    EXPECT_FALSE(world.physics.HandleMessage(MessageKey(81, 1, 0, false)));
    EXPECT_FALSE(world.physics.HandleMessage(MessageKey(81, 0, 0, true)));
    EXPECT_FALSE(world.physics.debugDraw);
    EXPECT_FALSE(world.physics.HandleMessage(MessageKey(81, 1, 0, true)));
    ASSERT_TRUE(world.physics.debugDraw);

    std::vector<Arrow> arrows = Render(world);
    // The z-only velocity draws nothing; a NaN counts as moving.
    ASSERT_EQ(arrows.size(), 2u);
    const Arrow& left = arrows[0].transform.translation.x == 1.0f ? arrows[0] : arrows[1];
    EXPECT_EQ(left.texture, "ProgrammerArt/velocityDebugArrow");
    EXPECT_FLOAT_EQ(left.transform.translation.z, 3.1f);
    EXPECT_FLOAT_EQ(left.transform.scale.x, 0.5f);
    EXPECT_FLOAT_EQ(left.transform.scale.y, 1.0f);
    EXPECT_FLOAT_EQ(left.transform.rotation.z, 3.14159f);

    // Grave accent outside debug mode switches it off; Q in debug mode toggles.
    world.physics.HandleMessage(MessageKey(96, 1, 0, false));
    EXPECT_FALSE(world.physics.debugDraw);
    world.physics.HandleMessage(MessageKey(81, 1, 0, true));
    world.physics.HandleMessage(MessageKey(81, 1, 0, true));
    EXPECT_FALSE(world.physics.debugDraw);

    // A clone keeps the switch with the table.
    world.physics.debugDraw = true;
    auto clone = world.physics.Clone();
    EXPECT_TRUE(static_cast<SystemPhysics&>(*clone).debugDraw);
    EXPECT_EQ(static_cast<SystemPhysics&>(*clone).components.size(), 3u);
}
