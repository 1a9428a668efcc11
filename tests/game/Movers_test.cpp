#include <gtest/gtest.h>

#include "game/movers/SystemFloatingBehavior.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/triggers/SystemTrigger.h"
#include "physics2d/MessageCollision.h"
#include "physics2d/SystemPhysics.h"
#include "tests/game/GoalsFixture.h"

using json = nlohmann::json;

namespace {

struct MoversTest : GoalsTest {
    ComponentPhysics Physics(EntityId entity) {
        ComponentPhysics p;
        EXPECT_TRUE(test->Query<ComponentPhysics>(entity, [&](ComponentPhysics& f) { p = f; }));
        return p;
    }
};

}  // namespace

TEST_F(MoversTest, AKeptTriggerFiresOnceAndADefaultOneRemovesItself) {
    assets.Entity("Kept", {{"Transform", {{"Translation", {3, 0, 0}}}},
                           {"Box Collider", {{"Size", {0.5, 0.5}}}},
                           {"Trigger",
                            {{"Name", "Music Change"},
                             {"Audio Event", "SFX/Gong"},
                             {"Audio Parameter", "Section"},
                             {"Audio Parameter Value", 2},
                             {"Destruct", false}}}});
    assets.Entity("Gone", {{"Transform", {{"Translation", {-3, 0, 0}}}},
                           {"Box Collider", {{"Size", {0.5, 0.5}}}},
                           {"Trigger", json::object()}});
    Start({{"Kept", "Kept"}, {"Gone", "Gone"}});
    const EntityId kept = FindEntity(*test, "Kept");
    const EntityId gone = FindEntity(*test, "Gone");

    Place(hero, 3.0f, 0.0f);
    test->Frames(3);
    Place(hero, 10.0f, 0.0f);
    test->Frame();
    Place(hero, 3.0f, 0.0f);
    test->Frames(3);
    EXPECT_EQ(CountSent(MessageId::Trigger, {"Music Change", 1}), 1);
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"SFX/Gong"}), 1);
    EXPECT_EQ(CountSent(MessageId::AudioParameter, {"Section", 2}), 1);
    EXPECT_TRUE(test->Has<ComponentTrigger>(kept));

    ClearRecords();
    Place(hero, -3.0f, 0.0f);
    test->Frames(2);
    EXPECT_FALSE(test->Has<ComponentTrigger>(gone));
    EXPECT_EQ(test->recorder->Count(MessageId::Trigger), 0);
    EXPECT_EQ(test->recorder->Count(MessageId::AudioEvent), 0);
}

// Trigger zones used to fire for a dead player falling through them.
TEST_F(MoversTest, AHurtPlayerSetsOffNoTrigger) {
    assets.Entity("Zone", {{"Box Collider", {{"Size", {0.5, 0.5}}}},
                           {"Transform", {{"Translation", {5, 0, 0}}}},
                           {"Trigger", {{"Name", "Death Wall"}}}});
    Start({{"Zone", "Zone"}});
    const EntityId zone = FindEntity(*test, "Zone");
    ASSERT_TRUE(test->Query<ComponentPlayerCollider>(
        hero, [](ComponentPlayerCollider& c) { c.hurt = true; }));
    Place(hero, 5.0f, 0.0f);
    test->Frames(3);
    EXPECT_EQ(CountSent(MessageId::Trigger, {"Death Wall", 1}), 0);
    ASSERT_TRUE(test->Query<ComponentTrigger>(
        zone, [](ComponentTrigger& t) { EXPECT_FALSE(t.Triggered); }));
}

TEST_F(MoversTest, ATeleportWrapsEachEdgeToTheOppositeOne) {
    assets.Entity("Rock",
                  {{"Transform", json::object()},
                   {"Teleport", {{"Left", -10}, {"Right", 10}, {"Top", 5}, {"Bottom", -5}}}});
    Start({{"Rock", "Rock"}});
    const EntityId rock = FindEntity(*test, "Rock");
    struct Case {
        glm::vec2 from, to;
    };
    for (const Case& c :
         {Case{{10.5f, 0}, {-10, 0}}, Case{{-10.2f, 0}, {10, 0}}, Case{{0, 5.5f}, {0, -5}},
          Case{{0, -6}, {0, 5}}, Case{{10, 5}, {10, 5}}, Case{{11, -6}, {-10, 5}}}) {
        Place(rock, c.from.x, c.from.y);
        test->Frame();
        EXPECT_FLOAT_EQ(Where(rock).x, c.to.x) << c.from.x << ", " << c.from.y;
        EXPECT_FLOAT_EQ(Where(rock).y, c.to.y) << c.from.x << ", " << c.from.y;
    }
}

TEST_F(MoversTest, AFloatingPlatformSwitchesItsPullAtTheAnchorAndBobs) {
    const json floating = {
        {"Anchor Point", 2}, {"Acceleration Above Anchor", -3}, {"Acceleration Below Anchor", 3}};
    assets.Entity("Raft", {{"Transform", {{"Translation", {0, 3, 0}}}},
                           {"Physics", json::object()},
                           {"Floating Behavior", floating}});
    assets.Entity("Still", {{"Transform", {{"Translation", {0, 2, 0}}}},
                            {"Physics", json::object()},
                            {"Floating Behavior", floating}});
    Start({{"Raft", "Raft"}, {"Still", "Still"}});
    const EntityId raft = FindEntity(*test, "Raft");
    // Entering ran the first update: exactly at the anchor with no pull, it is pulled down.
    EXPECT_FLOAT_EQ(Physics(FindEntity(*test, "Still")).Acceleration.y, -3.0f);
    float lowest = 3.0f, highest = 0.0f;
    bool pushedUp = false;
    for (int i = 0; i < 240; ++i) {
        test->Frame();
        lowest = std::min(lowest, Where(raft).y);
        highest = std::max(highest, Where(raft).y);
        pushedUp |= Physics(raft).Acceleration.y > 0.0f;
    }
    // Released one unit above the anchor, it swings about one unit either side of it.
    EXPECT_TRUE(pushedUp);
    EXPECT_NEAR(lowest, 1.0f, 0.15f);
    EXPECT_NEAR(highest, 3.0f, 0.15f);
}

TEST_F(MoversTest, XAndZTurnEitherWayAndAnyReleaseStops) {
    assets.Entity(
        "Wheel",
        {{"Transform", json::object()}, {"Physics", json::object()}, {"Rotate", {{"Speed", 2}}}});
    Start({{"Wheel", "Wheel"}});
    const EntityId wheel = FindEntity(*test, "Wheel");
    Press(*test, 88);
    EXPECT_FLOAT_EQ(Physics(wheel).RotationalVelocity.z, -2.0f);
    Press(*test, 90);
    EXPECT_FLOAT_EQ(Physics(wheel).RotationalVelocity.z, 2.0f);
    Release(*test, 88);
    EXPECT_FLOAT_EQ(Physics(wheel).RotationalVelocity.z, 0.0f);
    Press(*test, 65);  // another key changes nothing
    EXPECT_FLOAT_EQ(Physics(wheel).RotationalVelocity.z, 0.0f);
}
