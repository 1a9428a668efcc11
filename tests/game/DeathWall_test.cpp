#include <gtest/gtest.h>

#include <algorithm>

#include "engine/MessageTrigger.h"
#include "game/camera/SystemCameraControl.h"
#include "game/hazards/SystemDeathWallBehavior.h"
#include "game/player/SystemPlayerCollision.h"
#include "physics2d/SystemPhysics.h"
#include "tests/game/GoalsFixture.h"

using json = nlohmann::json;

namespace {

/// A wall of half width 1 at x = -20, tiers 1 / 3 / 6 at gaps 5 and 10, and a camera whose
/// shake the wall scales.
struct DeathWallTest : GoalsTest {
    void SetUp() override {
        assets.Entity("Wall", {{"Transform", {{"Translation", {-20, 0, 0}}}},
                               {"Box Collider", {{"Size", {1.0, 10.0}}}},
                               {"Physics", json::object()},
                               {"Audio Source", {{"Destroy Sound", "Wall/Stop"}}},
                               {"Death Wall Behavior",
                                {{"Base Speed", 1},
                                 {"Speed 1", 3},
                                 {"Distance 1", 5},
                                 {"Speed 2", 6},
                                 {"Distance 2", 10},
                                 {"Positive Acceleration", 4},
                                 {"Negative Acceleration", -4},
                                 {"Distance Sound", "Wall/Rumble"},
                                 {"Distance Sound Parameter", "WallDistance"},
                                 {"Distance Sound Multiplier", 0.1},
                                 {"Effects", {"Dust", "Sparks"}},
                                 {"Noise Effect", "Noise"}}}});
        assets.Entity("Cam", {{"Transform", json::object()},
                              {"Camera Controller",
                               {{"Left Bound", -100},
                                {"Right Bound", 100},
                                {"Shake Amplitude", {2, 4}},
                                {"Shake Modulation Amplitude", {1, 1}}}}});
        Start({{"Wall", "Wall"}, {"Cam", "Cam"}});
        wall = FindEntity(*test, "Wall");
        camera = FindEntity(*test, "Cam");
        ASSERT_NE(wall, 0);
        ASSERT_NE(camera, 0);
    }
    ComponentDeathWallBehavior Wall() {
        ComponentDeathWallBehavior w;
        EXPECT_TRUE(test->Query<ComponentDeathWallBehavior>(
            wall, [&](ComponentDeathWallBehavior& found) { w = found; }));
        return w;
    }
    ComponentPhysics Physics(EntityId entity) {
        ComponentPhysics p;
        EXPECT_TRUE(test->Query<ComponentPhysics>(entity, [&](ComponentPhysics& f) { p = f; }));
        return p;
    }
    /// Stops the wall at x = -20 and puts the player `gap` beyond its right edge, high above
    /// it so that they do not touch; the first frame measures the gap, the second picks the
    /// tier from it.
    void Gap(float gap, int frames = 2) {
        ASSERT_TRUE(test->Query<ComponentPhysics>(wall, [](ComponentPhysics& p) {
            p.Velocity = glm::vec3(0.0f);
            p.Acceleration = glm::vec3(0.0f);
        }));
        Place(wall, -20.0f, 0.0f);
        Place(hero, -20.0f + 1.0f + gap, 50.0f);
        test->Frames(frames);
    }
    /// The latest value sent for the wall's distance parameter; -1 when none was sent.
    double LastDistanceParameter() {
        double last = -1.0;
        for (const auto& sent : test->recorder->Fields(MessageId::AudioParameter)) {
            if (sent.name == "WallDistance") last = sent.value;
        }
        return last;
    }

    EntityId wall = 0;
    EntityId camera = 0;
};

}  // namespace

TEST_F(DeathWallTest, TheTargetSpeedTiersSwitchStrictlyAboveTheirDistances) {
    test->Send(MessageTrigger("Death Wall", true));
    Gap(10.0f);
    EXPECT_NEAR(Wall().DistanceToPlayer, 10.0f, 0.01f);
    EXPECT_FLOAT_EQ(Wall().TargetSpeed, 3.0f);
    Gap(10.5f);
    EXPECT_FLOAT_EQ(Wall().TargetSpeed, 6.0f);
    Gap(5.0f);
    EXPECT_FLOAT_EQ(Wall().TargetSpeed, 1.0f);
    Gap(5.25f);
    EXPECT_FLOAT_EQ(Wall().TargetSpeed, 3.0f);
    Gap(-0.5f);  // inside the wall's box
    EXPECT_FLOAT_EQ(Wall().TargetSpeed, 1.0f);
    // Slower than its target, the wall speeds up; faster, it slows down.
    EXPECT_FLOAT_EQ(Physics(wall).Acceleration.x, 4.0f);
    ASSERT_TRUE(test->Query<ComponentPhysics>(wall, [](ComponentPhysics& p) { p.Velocity.x = 2; }));
    test->Frame();
    EXPECT_FLOAT_EQ(Physics(wall).Acceleration.x, -4.0f);
}

TEST_F(DeathWallTest, TheGapDrivesTheRumbleAndTheShakeAndSwitchingOnStartsEverything) {
    EXPECT_FALSE(Wall().Active);
    ClearRecords();
    test->Send(MessageTrigger("Death Wall", false));
    EXPECT_FALSE(Wall().Active);
    test->Send(MessageTrigger("Death Wall", true));
    EXPECT_TRUE(Wall().Active);
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"Wall/Rumble"}), 1);
    ASSERT_EQ(emits.size(), 3u);
    EXPECT_EQ(emits[0].effect, "Dust");
    EXPECT_EQ(emits[1].effect, "Sparks");
    EXPECT_EQ(emits[2].effect, "Noise");

    Gap(4.0f, 1);
    EXPECT_NEAR(LastDistanceParameter(), 0.4, 1e-6);
    ASSERT_TRUE(test->Query<ComponentCameraControl>(camera, [](ComponentCameraControl& c) {
        EXPECT_NEAR(c.ShakeAmplitude.x, 1.2f, 1e-5f);
        EXPECT_NEAR(c.ShakeAmplitude.y, 2.4f, 1e-5f);
        EXPECT_NEAR(c.ShakeModulationAmplitude.x, 0.6f, 1e-5f);
    }));
    Gap(12.0f);
    ASSERT_TRUE(test->Query<ComponentCameraControl>(
        camera, [](ComponentCameraControl& c) { EXPECT_EQ(c.ShakeAmplitude.x, 0.0f); }));
}

TEST_F(DeathWallTest, ARestoreFromBeforeTheChaseStopsTheWallAndItsRumble) {
    const float startX = Where(wall).x;
    test->Send(MessageTrigger("Death Wall", true));
    Gap(8.0f);
    test->Frames(30);
    EXPECT_GT(Where(wall).x, startX);
    ClearRecords();
    test->Send(MessageTrigger("Checkpoint", false));  // saved when the level was entered
    test->Frame();
    EXPECT_FALSE(Wall().Active);
    EXPECT_FLOAT_EQ(Where(wall).x, startX);
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"Wall/Stop"}), 1);
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"Wall/Rumble"}), 0);
}

// The restore's stop used to silence a chase saved as running, and nothing started it again.
TEST_F(DeathWallTest, ARestoreToACheckpointSavedDuringTheChaseRestartsTheRumble) {
    test->Send(MessageTrigger("Death Wall", true));
    test->Frames(10);
    test->Send(MessageTrigger("Checkpoint", true));
    test->Frames(10);
    ClearRecords();
    test->Send(MessageTrigger("Checkpoint", false));
    test->Frame();
    EXPECT_TRUE(Wall().Active);
    const auto sounds = test->recorder->Fields(MessageId::AudioEvent);
    const auto stop = std::find(sounds.begin(), sounds.end(), Sent{"Wall/Stop"});
    ASSERT_NE(stop, sounds.end());
    EXPECT_NE(std::find(stop, sounds.end(), Sent{"Wall/Rumble"}), sounds.end())
        << "the rumble is not started again after the restore's stop";
}

TEST_F(DeathWallTest, TouchingTheWallAsksForTheReloadAtOnce) {
    Place(hero, -19.0f, 0.0f);
    ClearRecords();
    test->Frame();
    EXPECT_GE(test->recorder->Count(MessageId::PlayTransitionReloadCheckpoint), 1);
    ASSERT_TRUE(test->Query<ComponentPlayerCollider>(hero, [](ComponentPlayerCollider& c) {
        EXPECT_TRUE(c.hurt);
        EXPECT_TRUE(c.deathWallHit);
    }));
    EXPECT_EQ(CountSent(MessageId::Trigger, {"Kill Player", 1}), 0);
    test->Frames(3);
    EXPECT_EQ(CountSent(MessageId::Trigger, {"Caught By Death Wall", 1}), 1)
        << "a lasting touch names its cause once";
}
