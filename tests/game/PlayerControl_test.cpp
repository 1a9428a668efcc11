#include <gtest/gtest.h>

#include <optional>

#include "engine/MessageTrigger.h"
#include "game/player/SystemPlayerControl.h"
#include "physics2d/SystemPhysics.h"
#include "tests/game/GameFixture.h"
#include "tests/support/KeptFields.h"

using json = nlohmann::json;

namespace {

struct ControlTest : ::testing::Test {
    void Start(float gravity, bool grounded) {
        WriteHero(assets, gravity);
        WritePauseMenu(assets);
        assets.Scene("Level", {{"hero", "Hero"}, {"pause", "PauseMenu"}});
        test = std::make_unique<TestEngine>(PlayerRoster());
        test->Enter("Level");
        hero = FindEntity(*test, "Hero");
        ASSERT_NE(hero, 0);
        Control([&](ComponentPlayerControl& c) { c.grounded = grounded; });
    }
    template <class F>
    void Control(F f) {
        ASSERT_TRUE(test->Query<ComponentPlayerControl>(hero, f));
    }
    template <class F>
    void Physics(F f) {
        ASSERT_TRUE(test->Query<ComponentPhysics>(hero, f));
    }
    std::optional<ComponentPlayerControl> Get() { return test->Get<ComponentPlayerControl>(hero); }
    std::optional<ComponentPhysics> Body() { return test->Get<ComponentPhysics>(hero); }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId hero = 0;
};

}  // namespace

TEST_F(ControlTest, BothDirectionsHeldBrakeLikeNoKey) {
    Start(0.0f, true);
    Physics([](ComponentPhysics& p) { p.Velocity.x = 5.0f; });
    Press(*test, keys::kA);
    Press(*test, keys::kD);
    test->Frame(0.01f);
    EXPECT_EQ(Get().value().state, PlayerState::Braking);
    // Friction is proportional to the speed and the frame time: -5 * 600 * 0.01.
    EXPECT_FLOAT_EQ(Body().value().Acceleration.x, -30.0f);

    // Letting go of one key walks the other way at once.
    Release(*test, keys::kD);
    test->Frame(0.01f);
    EXPECT_EQ(Get().value().state, PlayerState::Walking);
    EXPECT_FLOAT_EQ(Body().value().Acceleration.x, -30.0f - 6.0f);
}

TEST_F(ControlTest, SlowPlayerWithoutInputStopsDeadAndIdles) {
    Start(0.0f, true);
    Physics([](ComponentPhysics& p) { p.Velocity.x = 0.4f; });
    test->Frame(0.01f);
    EXPECT_EQ(Get().value().state, PlayerState::Idle);
    EXPECT_FLOAT_EQ(Body().value().Velocity.x, 0.0f);
}

TEST_F(ControlTest, JumpWindUpIsNotRestartedByASecondPress) {
    Start(0.0f, true);
    Press(*test, keys::kSpace);
    test->Frame(0.03f);
    EXPECT_EQ(Get().value().state, PlayerState::JumpLaunch);
    test->Frames(2, 0.03f);
    // Pressed again while winding up.
    Press(*test, keys::kSpace);
    test->Frame(0.03f);
    EXPECT_EQ(Get().value().state, PlayerState::JumpLaunch);
    EXPECT_NEAR(Get().value().stateTime, 0.09f, 1e-5f);
    EXPECT_FLOAT_EQ(Body().value().Velocity.y, 0.0f);
    // Take-off once more than "Time to Jump" (0.1 s) has passed since the first press.
    test->Frame(0.03f);
    EXPECT_EQ(Get().value().state, PlayerState::JumpRise);
    EXPECT_FALSE(Get().value().grounded);
    EXPECT_FLOAT_EQ(Body().value().Velocity.y, 14.0f);
}

TEST_F(ControlTest, ReleasesCountWhilePausedAndPressesDoNot) {
    Start(0.0f, true);
    Press(*test, keys::kD);
    Press(*test, keys::kEscape);
    EXPECT_TRUE(test->engine.IsPaused());
    EXPECT_TRUE(Get().value().paused);
    Release(*test, keys::kD);
    Press(*test, keys::kLeft);
    EXPECT_FALSE(Get().value().rightHeld);
    EXPECT_FALSE(Get().value().leftHeld);
    EXPECT_EQ(test->recorder->Fields(MessageId::UIActiveTrigger),
              (std::vector<Sent>{{"Pause Menu", 1}}));

    Press(*test, keys::kEscape);
    EXPECT_FALSE(test->engine.IsPaused());
    EXPECT_FALSE(Get().value().paused);
    // Resuming closes the pause menu and every sub-menu, activity before visibility.
    EXPECT_EQ(test->recorder->Fields(MessageId::UIActiveTrigger),
              (std::vector<Sent>{{"Pause Menu", 1},
                                 {"Pause Menu", 0},
                                 {"Options Menu", 0},
                                 {"How To Play Menu", 0},
                                 {"Return To Menu Panel", 0},
                                 {"Confirmation Menu", 0}}));
    EXPECT_EQ(test->recorder->Count(MessageId::UIVisibleTrigger), 6);
}

TEST_F(ControlTest, DeathInTheAirDriftsAndFallsThenAsksForTheReload) {
    Start(-30.0f, false);
    Physics([](ComponentPhysics& p) { p.Velocity = {3.0f, 2.0f, 0.0f}; });
    test->Send(MessageTrigger("Kill Player", true));
    EXPECT_EQ(Get().value().state, PlayerState::FallingDeath);
    test->Frame(0.1f);
    EXPECT_FLOAT_EQ(Body().value().Velocity.x, 10.0f);
    EXPECT_LT(Body().value().Velocity.y, 2.0f);  // gravity still acts
    test->Frames(13, 0.1f);
    EXPECT_EQ(test->recorder->Count(MessageId::PlayTransitionReloadCheckpoint), 0);
    test->Frames(2, 0.1f);
    EXPECT_EQ(test->recorder->Count(MessageId::PlayTransitionReloadCheckpoint), 1);
    // The sequence keeps its state until the restore.
    EXPECT_EQ(Get().value().state, PlayerState::FallingDeath);
    test->Send(MessageTrigger("Checkpoint Restore", true));
    EXPECT_EQ(Get().value().state, PlayerState::Unset);
}

TEST_F(ControlTest, DeathOnTheGroundStopsVerticalMotionAtOnce) {
    Start(-30.0f, true);
    Physics([](ComponentPhysics& p) { p.Velocity = {4.0f, 5.0f, 0.0f}; });
    test->Send(MessageTrigger("Kill Player", true));
    EXPECT_EQ(Get().value().state, PlayerState::Death);
    const ComponentPhysics body = Body().value();
    EXPECT_FLOAT_EQ(body.Velocity.y, 0.0f);
    EXPECT_FLOAT_EQ(body.Velocity.x, 2.0f);
    EXPECT_FLOAT_EQ(body.Acceleration.x, 0.0f);
    EXPECT_FLOAT_EQ(body.Acceleration.y, 0.0f);
    test->Frames(21, 0.1f);
    EXPECT_EQ(test->recorder->Count(MessageId::PlayTransitionReloadCheckpoint), 1);
}

TEST_F(ControlTest, FlyModeKeepsAZeroSavedGravityOutOfTheBody) {
    Start(0.0f, true);
    Press(*test, keys::kO, true);
    EXPECT_TRUE(Get().value().noClip);
    // Something else gives the body a vertical acceleration while flying.
    Physics([](ComponentPhysics& p) { p.Acceleration.y = 7.0f; });
    Press(*test, keys::kO, true);
    EXPECT_FALSE(Get().value().noClip);
    EXPECT_FLOAT_EQ(Body().value().Acceleration.y, 7.0f);
}

TEST_F(ControlTest, FlyModeMovesFreelyAndRestoresGravity) {
    Start(-30.0f, true);
    Physics([](ComponentPhysics& p) { p.Velocity = {3.0f, -4.0f, 0.0f}; });
    Press(*test, keys::kO, true);
    EXPECT_FLOAT_EQ(Body().value().Acceleration.y, 0.0f);
    EXPECT_FLOAT_EQ(Body().value().Velocity.y, 0.0f);
    Press(*test, keys::kLeft);
    Press(*test, keys::kSpace);
    test->Frame(0.1f);
    EXPECT_FLOAT_EQ(Body().value().Velocity.x, -12.0f);
    EXPECT_FLOAT_EQ(Body().value().Velocity.y, 12.0f);
    // Leaving debug mode (grave without the debug flag) ends fly mode.
    Press(*test, keys::kGrave);
    EXPECT_FALSE(Get().value().noClip);
    EXPECT_FLOAT_EQ(Body().value().Acceleration.y, -30.0f);
}
