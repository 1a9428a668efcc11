#include <gtest/gtest.h>

#include "engine/MessageTrigger.h"
#include "game/goals/SystemCheckpointCollision.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerHealth.h"
#include "tests/game/GoalsFixture.h"

using json = nlohmann::json;

namespace {

struct CheckpointTest : GoalsTest {
    void SetUp() override {
        assets.Entity("Flag", {{"Transform", {{"Translation", {5, 0, 0}}}},
                               {"Box Collider", {{"Size", {0.5, 1.0}}}},
                               {"Checkpoint Collision Handler",
                                {{"Lives Restored", 5},
                                 {"Activation Animation", "Raise"},
                                 {"Activation Sound", "SFX/Checkpoint"},
                                 {"Activation Time", 0.5},
                                 {"Activation Effect", "Burst"},
                                 {"Activated Effect", "Glow"}}}});
        Start({{"Flag", "Flag"}});
        flag = FindEntity(*test, "Flag");
        ASSERT_NE(flag, 0);
    }
    ComponentCheckpointCollider Checkpoint() {
        ComponentCheckpointCollider c;
        EXPECT_TRUE(test->Query<ComponentCheckpointCollider>(
            flag, [&](ComponentCheckpointCollider& found) { c = found; }));
        return c;
    }
    void SetHealth(int health) {
        ASSERT_TRUE(test->Query<ComponentPlayerHealth>(
            hero, [&](ComponentPlayerHealth& h) { h.Health = health; }));
    }
    int Health() {
        int health = -1;
        EXPECT_TRUE(test->Query<ComponentPlayerHealth>(
            hero, [&](ComponentPlayerHealth& h) { health = h.Health; }));
        return health;
    }

    EntityId flag = 0;
};

}  // namespace

TEST_F(CheckpointTest, TakenOnceItFillsLivesToTheMaximumAndSavesItselfAsTaken) {
    SetHealth(1);
    test->Frame();
    EXPECT_FALSE(Checkpoint().Activated);
    ClearRecords();

    Place(hero, 5.0f, 0.0f);
    test->Frames(10);
    EXPECT_TRUE(Checkpoint().Activated);
    EXPECT_EQ(Health(), 3);  // 1 + 5, capped at the maximum of 3
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"SFX/Checkpoint"}), 1);
    EXPECT_EQ(CountSent(MessageId::Trigger, {"Checkpoint", 1}), 1);
    EXPECT_EQ(CountEmits("Burst", true), 1);

    // The saved copy holds the checkpoint as taken: a restore neither re-arms it nor gives the
    // restored lives back, and it starts the activated effect again at once.
    SetHealth(1);
    Place(hero, 0.0f, 0.0f);
    ClearRecords();
    test->Send(MessageTrigger("Checkpoint", false));
    test->Frame();
    EXPECT_TRUE(Checkpoint().Activated);
    EXPECT_EQ(Health(), 2);  // the saved 3, less the life a restore costs
    EXPECT_EQ(CountEmits("Glow", true), 1);
    Place(hero, 5.0f, 0.0f);
    test->Frames(5);
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"SFX/Checkpoint"}), 0);
    EXPECT_EQ(Health(), 2);
}

TEST_F(CheckpointTest, TheActivationEffectGivesWayToTheActivatedOneAfterItsTime) {
    Place(hero, 5.0f, 0.0f);
    test->Frames(20);  // a third of a second
    EXPECT_EQ(CountEmits("Glow", true), 0);
    EXPECT_EQ(CountEmits("Burst", false), 0);
    test->Frames(20);
    EXPECT_EQ(CountEmits("Glow", true), 1);
    EXPECT_EQ(CountEmits("Burst", false), 1);
    EXPECT_TRUE(Checkpoint().ActivationDone);
}

TEST_F(CheckpointTest, AHurtPlayerCannotTakeIt) {
    ASSERT_TRUE(test->Query<ComponentPlayerCollider>(
        hero, [](ComponentPlayerCollider& c) { c.hurt = true; }));
    Place(hero, 5.0f, 0.0f);
    test->Frames(5);
    EXPECT_FALSE(Checkpoint().Activated);
}

// Taken in the very frame of its first update, the checkpoint used to be frozen again by the
// "hold still" request that follows the activation.
TEST(CheckpointFirstUpdate, ACheckpointTakenAtItsFirstUpdateIsNotHeldAgain) {
    struct Fixture : GoalsTest {
        void TestBody() override {}
    } f;
    f.assets.Entity("Flag",
                    {{"Transform", {{"Translation", {0, 0, 0}}}},
                     {"Box Collider", {{"Size", {0.5, 1.0}}}},
                     {"Checkpoint Collision Handler", {{"Activation Animation", "Raise"}}}});
    f.Start({{"Flag", "Flag"}});
    const EntityId flag = FindEntity(*f.test, "Flag");
    f.test->Frames(3);
    ASSERT_FALSE(f.animations.empty());
    for (const auto& a : f.animations) {
        EXPECT_EQ(a.entity, flag);
        EXPECT_EQ(a.speed, 1.0f) << "the activation was frozen by a held request";
    }
    // A restore to the copy saved at activation keeps it playing too.
    f.animations.clear();
    f.test->Send(MessageTrigger("Checkpoint", false));
    f.test->Frames(2);
    for (const auto& a : f.animations) EXPECT_NE(a.speed, 0.0f);
}
