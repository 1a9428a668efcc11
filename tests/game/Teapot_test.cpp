#include <gtest/gtest.h>

#include <cmath>

#include <glm/geometric.hpp>

#include "engine/MessageSpriteRender.h"
#include "engine/MessageTrigger.h"
#include "game/goals/SystemDoorBehavior.h"
#include "game/goals/SystemObjectiveTracker.h"
#include "game/goals/SystemTeapotCollision.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "physics2d/MessageCollision.h"
#include "tests/game/GoalsFixture.h"

using json = nlohmann::json;

namespace {

struct TeapotTest : GoalsTest {
    void StartWith(const json& handler, const json& scale = {1, 1, 1}) {
        assets.Entity("Teapot", {{"Transform", {{"Translation", {3, 0, 0}}, {"Scale", scale}}},
                                 {"Box Collider", {{"Size", {0.5, 0.5}}}},
                                 {"Teapot Collision Handler", handler}});
        Start({{"Teapot", "Teapot"}});
        teapot = FindEntity(*test, "Teapot");
        ASSERT_NE(teapot, 0);
    }
    glm::vec3 Scale() {
        glm::vec3 s{-1.0f};
        EXPECT_TRUE(
            test->Query<ComponentTransform>(teapot, [&](ComponentTransform& t) { s = t.scale; }));
        return s;
    }
    int Fired(const std::string& name) { return CountSent(MessageId::Trigger, {name, 1}); }

    EntityId teapot = 0;
};

}  // namespace

TEST_F(TeapotTest, ItShrinksToNothingAndFiresItsTriggerAfterTheDelay) {
    StartWith({{"Trigger Delay", 1.5},
               {"Shrink Rate", 1},
               {"Activation Sound", "SFX/Pickup"},
               {"Move To Players Hand When Collected", false}});
    Place(hero, 3.0f, 0.0f);
    test->Frame();
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"SFX/Pickup"}), 1);
    EXPECT_EQ(Fired("Play Win Animation"), 1);
    ASSERT_TRUE(test->Query<ComponentPlayerControl>(
        hero, [](ComponentPlayerControl& c) { EXPECT_EQ(c.state, PlayerState::Win); }));

    test->Frames(61);  // just over a second
    EXPECT_EQ(Scale().x, 0.0f);
    EXPECT_EQ(Scale().y, 0.0f);
    EXPECT_EQ(Fired("Death Wall"), 0);
    test->Frames(27);
    EXPECT_EQ(Fired("Death Wall"), 0);
    test->Frames(2);
    EXPECT_EQ(Fired("Death Wall"), 1);
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"DeathWallOn"}), 1);
    test->Frames(30);
    EXPECT_EQ(Fired("Death Wall"), 1) << "the trigger fires once";
    EXPECT_EQ(Fired("Play Win Animation"), 1) << "collected once";
}

// With the default delay of 0 the timer never ran, so a collected teapot never fired and the
// doors never opened.
TEST_F(TeapotTest, AContentDefaultTeapotFiresAtItsNextUpdateAndOpensTheDoors) {
    assets.Entity("Door", {{"Transform", {{"Translation", {50, 0, 0}}}},
                           {"Door Behavior", {{"Next State", "Done"}, {"Start Of Scene", false}}}});
    assets.Entity("Teapot", {{"Transform", {{"Translation", {3, 0, 0}}}},
                             {"Box Collider", {{"Size", {0.5, 0.5}}}},
                             {"Teapot Collision Handler", json::object()}});
    Start({{"Teapot", "Teapot"}, {"Door", "Door"}});
    test->Send(MessageCollision(FindEntity(*test, "Teapot"), hero));
    test->Frame();
    EXPECT_EQ(Fired("Death Wall"), 1);
    ASSERT_TRUE(test->Query<ComponentTransform>(
        FindEntity(*test, "Teapot"),
        [](ComponentTransform& t) { EXPECT_EQ(t.scale, glm::vec3(0.0f)); }));
    ASSERT_TRUE(test->Query<ComponentDoorBehavior>(
        FindEntity(*test, "Door"), [](ComponentDoorBehavior& d) { EXPECT_TRUE(d.IsActive); }));
}

// Shrinking subtracted from signed scales: a mirrored teapot vanished at once, and a flat z
// scale zeroed the others.
TEST_F(TeapotTest, AMirroredFlatTeapotShrinksByMagnitudeAndKeepsItsSigns) {
    StartWith({{"Trigger Delay", 5}, {"Shrink Rate", 1}}, {-2, 2, 0});
    test->Send(MessageCollision(teapot, hero));
    test->Frames(30);
    EXPECT_NEAR(Scale().x, -1.5f, 0.02f);
    EXPECT_NEAR(Scale().y, 1.5f, 0.02f);
    EXPECT_EQ(Scale().z, 0.0f);
}

TEST_F(TeapotTest, ItFollowsTheHandMirroredOnceForAPlayerFacingLeft) {
    StartWith({{"Trigger Delay", 5},
               {"Shrink Rate", 0},
               {"Move To Hand Speed", 60},
               {"Player Hand X Offset", 0.5},
               {"Player Hand Y Offset", 1}});
    ASSERT_TRUE(
        test->Query<ComponentTransform>(hero, [](ComponentTransform& t) { t.scale.x = -1; }));
    test->Send(MessageCollision(teapot, hero));
    test->Frame();
    // One unit a frame, straight at the hand.
    EXPECT_NEAR(glm::distance(glm::vec2(Where(teapot)), glm::vec2(3, 0)), 1.0f, 1e-4f);
    test->Frames(4);
    EXPECT_NEAR(Where(teapot).x, -0.5f, 1e-4f);
    EXPECT_NEAR(Where(teapot).y, 1.0f, 1e-4f);
    // Turning back later does not mirror the hand again.
    ASSERT_TRUE(
        test->Query<ComponentTransform>(hero, [](ComponentTransform& t) { t.scale.x = 1; }));
    test->Frames(2);
    EXPECT_NEAR(Where(teapot).x, -0.5f, 1e-4f);
}

TEST_F(TeapotTest, AHurtPlayerCannotCollectIt) {
    StartWith({{"Trigger Delay", 1}});
    ASSERT_TRUE(test->Query<ComponentPlayerCollider>(
        hero, [](ComponentPlayerCollider& c) { c.hurt = true; }));
    test->Send(MessageCollision(teapot, hero));
    test->Frames(90);
    EXPECT_EQ(Fired("Death Wall"), 0);
}

TEST(ObjectiveTracker, TheGuidanceAngleOfEachDirectionAndOfNone) {
    const float pi = std::acos(-1.0f);
    EXPECT_NEAR(SystemObjectiveTracker::GuidanceAngle(0, -3, 0), -pi / 2, 1e-6f);
    EXPECT_NEAR(SystemObjectiveTracker::GuidanceAngle(0, 3, 0), pi / 2, 1e-6f);
    EXPECT_NEAR(SystemObjectiveTracker::GuidanceAngle(-3, 0, 0), pi, 1e-6f);
    EXPECT_NEAR(SystemObjectiveTracker::GuidanceAngle(2, 2, 0), pi / 4, 1e-6f);
    // Exactly on the door the direction is undefined: the last angle stays, never NaN.
    EXPECT_EQ(SystemObjectiveTracker::GuidanceAngle(0, 0, 1.25f), 1.25f);
}

TEST_F(GoalsTest, TheTrackerPointsAtTheLowestNumberedDoorUnlessTheCounterShows) {
    for (const char* name : {"DoorA", "DoorB", "DoorC"}) {
        const float x = std::string(name) == "DoorA" ? 0.0f : 10.0f;
        assets.Entity(name, {{"Transform", {{"Translation", {x, -4, 0}}}},
                             {"Door Behavior", {{"Start Of Scene", false}}}});
    }
    assets.Entity("Arrow", {{"Transform", {{"Translation", {0, 0, 2}}}},
                            {"Objective Tracker",
                             {{"Guidance Filepath", "UI/Arrow"}, {"Guidance Is Active", true}}}});
    Start({{"A", "DoorA"}, {"B", "DoorB"}, {"C", "DoorC"}, {"Tracker", "Arrow"}});
    const EntityId arrow = FindEntity(*test, "Arrow");
    std::vector<float> angles;
    test->recorder->onMessage = [&](const Message& message) {
        if (auto* draw = MessageAs<MessageSpriteRender>(message)) {
            if (draw->sprite.texture != "UI/Arrow") return;
            EXPECT_FLOAT_EQ(draw->transform.translation.z, 2.01f);
            angles.push_back(draw->transform.rotation.z);
        }
    };
    test->Frame();
    ASSERT_EQ(angles.size(), 1u);
    EXPECT_NEAR(angles[0], -std::acos(-1.0f) / 2, 1e-5f);  // door A, straight below

    ASSERT_TRUE(test->Query<ComponentObjectiveTracker>(
        arrow, [](ComponentObjectiveTracker& t) { t.CounterIsActive = true; }));
    test->Frame();
    EXPECT_EQ(angles.size(), 1u);
}
