#include <gtest/gtest.h>

#include "game/player/PlayerMovement.h"

namespace {

/// The movement state machine on its own: a body, the held keys and the clock.
struct MovementTest : ::testing::Test {
    void SetUp() override {
        tuning.WalkAcceleration = 600.0f;
        tuning.WalkSpeedMax = 8.0f;
        tuning.GlideAcceleration = 300.0f;
        tuning.JumpVelocity = 14.0f;
        tuning.FrictionThreshold = 0.5f;
        tuning.FrictionMultiplier = 600.0f;
        tuning.TimeToJump = 0.1f;
        tuning.TimeToLand = 0.1f;
    }
    MovementStep Step(float dt = kDt) { return StepMovement(tuning, motion, held, body, dt); }

    // A power of two, so that sums of frame times are exact.
    static constexpr float kDt = 0.0625f;
    PlayerTuning tuning;
    PlayerMotion motion;
    PlayerIntents held;
    ComponentPhysics body;
};

}  // namespace

TEST_F(MovementTest, WalkingPushesHarderEachUpdateUntilTheSpeedBound) {
    motion.grounded = true;
    held.rightHeld = true;
    body.Velocity.x = 2.0f;
    MovementStep step = Step(0.01f);
    EXPECT_EQ(motion.state, PlayerState::Walking);
    EXPECT_TRUE(step.stateChanged);
    EXPECT_EQ(step.facing, 1);
    EXPECT_FLOAT_EQ(step.walkingSpeed, 2.0f);
    EXPECT_FLOAT_EQ(body.Acceleration.x, 6.0f);

    step = Step(0.01f);
    EXPECT_FALSE(step.stateChanged);
    EXPECT_FLOAT_EQ(body.Acceleration.x, 12.0f);

    // Past the bound the speed is cut back and the push starts again from nothing.
    body.Velocity.x = 9.0f;
    Step(0.01f);
    EXPECT_FLOAT_EQ(body.Velocity.x, 8.0f);
    EXPECT_FLOAT_EQ(body.Acceleration.x, 0.0f);

    held = {};
    held.leftHeld = true;
    body.Velocity.x = -9.0f;
    step = Step(0.01f);
    EXPECT_EQ(step.facing, -1);
    EXPECT_FLOAT_EQ(body.Velocity.x, -8.0f);
    EXPECT_FLOAT_EQ(body.Acceleration.x, 0.0f);
}

TEST_F(MovementTest, JumpWindsUpTakesOffRisesFallsAndLands) {
    motion.grounded = true;
    motion.state = PlayerState::Idle;
    held.upHeld = true;
    MovementStep step = Step();
    EXPECT_EQ(motion.state, PlayerState::JumpLaunch);
    EXPECT_TRUE(step.stateChanged);
    EXPECT_FLOAT_EQ(motion.stateTime, 0.0f);

    step = Step();  // 0.0625 s into the wind-up of 0.1 s
    EXPECT_EQ(motion.state, PlayerState::JumpLaunch);
    EXPECT_FALSE(step.tookOff);
    EXPECT_FLOAT_EQ(body.Velocity.y, 0.0f);

    step = Step();  // 0.125 s
    EXPECT_TRUE(step.tookOff);
    EXPECT_TRUE(step.stateChanged);
    EXPECT_EQ(motion.state, PlayerState::JumpRise);
    EXPECT_FALSE(motion.grounded);
    EXPECT_FLOAT_EQ(body.Velocity.y, 14.0f);

    // Still rising with the key held: no second jump in the air.
    body.Velocity.y = 3.0f;
    step = Step();
    EXPECT_EQ(motion.state, PlayerState::JumpRise);
    EXPECT_FALSE(step.tookOff);
    EXPECT_FALSE(step.stateChanged);

    body.Velocity.y = -1.0f;
    step = Step();
    EXPECT_EQ(motion.state, PlayerState::JumpFall);
    EXPECT_TRUE(step.stateChanged);

    // The player collision lands the player.
    held = {};
    motion.state = PlayerState::JumpLand;
    motion.stateTime = 0.0f;
    motion.grounded = true;
    body.Velocity.y = 0.0f;
    step = Step();
    EXPECT_EQ(motion.state, PlayerState::JumpLand);
    step = Step();  // past "Time to Land"
    EXPECT_EQ(motion.state, PlayerState::Idle);
    EXPECT_TRUE(step.stateChanged);
}

TEST_F(MovementTest, TheFirstMomentsOfALandingKeepTheirStateWhileWalking) {
    motion.grounded = true;
    motion.state = PlayerState::JumpLand;
    held.rightHeld = true;
    Step();
    EXPECT_EQ(motion.state, PlayerState::JumpLand);
    EXPECT_FLOAT_EQ(body.Acceleration.x, 600.0f * kDt);  // the push does not wait
    Step();
    EXPECT_EQ(motion.state, PlayerState::Walking);
}

TEST_F(MovementTest, InTheAirTheGlideSteersAndNoKeyMeansNoPush) {
    motion.state = PlayerState::JumpRise;
    motion.previousState = PlayerState::JumpRise;
    body.Velocity = {1.0f, 20.0f, 0.0f};
    body.Acceleration.y = -30.0f;
    held.leftHeld = true;
    MovementStep step = Step();
    EXPECT_EQ(motion.state, PlayerState::JumpRise);
    EXPECT_FALSE(step.stateChanged);
    EXPECT_EQ(step.facing, -1);
    EXPECT_FLOAT_EQ(step.walkingSpeed, 0.0f);
    EXPECT_FLOAT_EQ(body.Acceleration.x, -300.0f * kDt);
    // The vertical bound cuts the speed and leaves gravity alone.
    EXPECT_FLOAT_EQ(body.Velocity.y, 14.0f);
    EXPECT_FLOAT_EQ(body.Acceleration.y, -30.0f);

    held = {};
    body.Velocity.x = 3.0f;
    Step();
    EXPECT_FLOAT_EQ(body.Acceleration.x, 0.0f);
    EXPECT_FLOAT_EQ(body.Velocity.x, 3.0f);  // no friction in the air
}

TEST_F(MovementTest, FallingFastLeavesTheGroundEvenWithoutAJump) {
    motion.grounded = true;
    motion.state = PlayerState::Walking;
    body.Velocity = {4.0f, -11.0f, 0.0f};
    const MovementStep step = Step();
    EXPECT_FALSE(motion.grounded);
    EXPECT_FLOAT_EQ(step.walkingSpeed, 0.0f);
    EXPECT_EQ(motion.state, PlayerState::JumpFall);
    // A jump key in mid-air does nothing.
    held.upHeld = true;
    Step();
    EXPECT_EQ(motion.state, PlayerState::JumpFall);
}

namespace {

/// The forgiving jump keys switched on, one press of jump at a time.
struct ForgivingJumpTest : MovementTest {
    void SetUp() override {
        MovementTest::SetUp();
        tuning.CoyoteTime = 0.125f;
        tuning.JumpBuffer = 0.125f;
        tuning.JumpNeedsNewPress = true;
        tuning.JumpCutMultiplier = 0.5f;
        tuning.GlideFallSpeed = 2.0f;
    }
    void PressJump() {
        held.upHeld = true;
        ++held.upPresses;
    }
};

}  // namespace

TEST_F(ForgivingJumpTest, AJumpJustAfterWalkingOffALedgeStillTakesOffAtOnce) {
    motion.state = PlayerState::JumpFall;
    motion.grounded = false;
    body.Velocity.y = -12.0f;
    Step();  // the first update off the ledge
    PressJump();
    const MovementStep step = Step();  // 0.125 s off the ledge
    EXPECT_TRUE(step.tookOff);
    EXPECT_EQ(motion.state, PlayerState::JumpRise);
    EXPECT_FLOAT_EQ(body.Velocity.y, 14.0f);

    // One take-off per stay in the air, and none once the time is over.
    body.Velocity.y = -1.0f;
    PressJump();
    EXPECT_FALSE(Step().tookOff);
    motion = {};
    motion.state = PlayerState::JumpFall;
    body.Velocity.y = -12.0f;
    Step();
    Step();
    PressJump();
    EXPECT_FALSE(Step().tookOff);  // 0.1875 s off the ledge
}

TEST_F(ForgivingJumpTest, APressShortlyBeforeLandingJumpsOnLandingEvenWhenLetGo) {
    motion.state = PlayerState::JumpFall;
    motion.jumpedSinceGround = true;
    body.Velocity.y = -5.0f;
    PressJump();
    Step();
    held.upHeld = false;  // a tap
    Step();               // 0.0625 s after the press
    motion.grounded = true;
    motion.state = PlayerState::JumpLand;
    body.Velocity.y = 0.0f;
    Step();  // landed 0.125 s after the press
    EXPECT_EQ(motion.state, PlayerState::JumpLaunch);

    // Pressed too early, the press is forgotten.
    motion = {};
    motion.state = PlayerState::JumpFall;
    motion.jumpedSinceGround = true;
    body.Velocity.y = -5.0f;
    PressJump();
    Step();
    held.upHeld = false;
    Step();
    Step();
    motion.grounded = true;
    motion.state = PlayerState::JumpLand;
    body.Velocity.y = 0.0f;
    Step();  // 0.1875 s
    EXPECT_NE(motion.state, PlayerState::JumpLaunch);
}

TEST_F(ForgivingJumpTest, AHeldJumpDoesNotJumpAgainOnLanding) {
    motion.grounded = true;
    motion.state = PlayerState::Idle;
    PressJump();
    Step();
    Step();
    EXPECT_TRUE(Step().tookOff);
    // Still held at the landing, and long after it.
    motion.grounded = true;
    motion.state = PlayerState::JumpLand;
    body.Velocity.y = 0.0f;
    for (int i = 0; i < 6; ++i) Step();
    EXPECT_EQ(motion.state, PlayerState::Idle);
    // Let go and press again: a jump.
    held.upHeld = false;
    Step();
    PressJump();
    Step();
    EXPECT_EQ(motion.state, PlayerState::JumpLaunch);
}

TEST_F(ForgivingJumpTest, LettingGoWhileRisingCutsTheRiseOnceAndHoldingWhileFallingGlides) {
    motion.state = PlayerState::JumpRise;
    motion.previousState = PlayerState::JumpRise;
    body.Velocity.y = 12.0f;
    held.upHeld = true;
    Step();
    EXPECT_FLOAT_EQ(body.Velocity.y, 12.0f);
    held.upHeld = false;
    Step();
    EXPECT_FLOAT_EQ(body.Velocity.y, 6.0f);
    Step();
    EXPECT_FLOAT_EQ(body.Velocity.y, 6.0f);  // once per jump

    body.Velocity.y = -9.0f;
    Step();
    EXPECT_FLOAT_EQ(body.Velocity.y, -9.0f);  // falling without the key
    held.upHeld = true;
    Step();
    EXPECT_FLOAT_EQ(body.Velocity.y, -2.0f);
    EXPECT_EQ(motion.state, PlayerState::JumpFall);
}

TEST_F(MovementTest, WithoutTheForgivingKeysAHeldJumpJumpsOnEveryLandingAndNeverInTheAir) {
    // Defaults: no coyote time, no buffer, a held key re-jumps, no cut, no glide.
    motion.state = PlayerState::JumpFall;
    body.Velocity.y = -12.0f;
    held.upHeld = true;
    ++held.upPresses;
    Step();
    EXPECT_EQ(motion.state, PlayerState::JumpFall);
    EXPECT_FLOAT_EQ(body.Velocity.y, -12.0f);
    motion.grounded = true;
    motion.state = PlayerState::JumpLand;
    body.Velocity.y = 0.0f;
    Step();
    EXPECT_EQ(motion.state, PlayerState::JumpLaunch);

    motion = {};
    motion.state = PlayerState::JumpRise;
    body.Velocity.y = 10.0f;
    held = {};
    Step();
    EXPECT_FLOAT_EQ(body.Velocity.y, 10.0f);
}
