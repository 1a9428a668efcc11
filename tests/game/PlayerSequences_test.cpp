#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/player/SystemPlayerControl.h"
#include "physics2d/SystemPhysics.h"
#include "services/animation/MessageAnimation.h"
#include "tests/game/GameFixture.h"

using json = nlohmann::json;

namespace {

/// The scripted sequences through the engine, frame by frame, with a standing hero in empty
/// space (no gravity, so nothing but the controller changes the body).
struct SequenceTest : ::testing::Test {
    void SetUp() override {
        WriteHero(assets, 0.0f,
                  {{"Start Sequence Length", 0.6},
                   {"Start Sequence Back Z-Pos", -1.0},
                   {"Start Sequence Front Z-Pos", 0.5},
                   {"Win Sequence Length", 0.6},
                   {"Aquire Teapot Animation", "Win"}});
        assets.Scene("Level", {{"hero", "Hero"}});
        test = std::make_unique<TestEngine>(PlayerRoster());
        test->Enter("Level");
        hero = FindEntity(*test, "Hero");
        ASSERT_NE(hero, 0);
        ASSERT_TRUE(test->Query<ComponentPlayerControl>(
            hero, [](ComponentPlayerControl& c) { c.grounded = true; }));
        test->recorder->onMessage = [this](const Message& m) {
            if (m.TypeId() == MessageId::SetAnimation) {
                auto& set = static_cast<const MessageSetAnimation&>(m);
                animations.push_back(std::string(set.name) + (set.loop ? " loop" : " once"));
            }
        };
        test->recorder->Clear();
    }
    void TearDown() override {
        if (test) test->recorder->onMessage = nullptr;
    }
    /// Copies, so that a missing component fails the test instead of reading defaults.
    std::optional<ComponentPlayerControl> Control() {
        return test->Get<ComponentPlayerControl>(hero);
    }
    PlayerState State() {
        const auto c = Control();
        EXPECT_TRUE(c.has_value());
        return c ? c->state : PlayerState::Unset;
    }
    std::optional<ComponentPhysics> Body() { return test->Get<ComponentPhysics>(hero); }
    std::optional<float> Z() {
        const auto t = test->Get<ComponentTransform>(hero);
        if (!t) return std::nullopt;
        return t->translation.z;
    }
    int WalkingSpeedSends() { return test->recorder->Count(MessageId::AudioParameter); }

    static constexpr float kDt = 0.25f;
    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId hero = 0;
    std::vector<std::string> animations;
};

}  // namespace

TEST_F(SequenceTest, TheEntranceHandsOverAtOnceAndComesToTheFrontAfterItsLength) {
    test->Send(MessageTrigger("Starting Sequence", true));
    EXPECT_EQ(State(), PlayerState::StartSequence);
    EXPECT_EQ(Z(), std::optional<float>(-1.0f));

    test->Frame(kDt);
    EXPECT_EQ(State(), PlayerState::Walking);
    EXPECT_EQ(WalkingSpeedSends(), 1);
    EXPECT_EQ(Z(), std::optional<float>(-1.0f));

    // The player steers during the entrance.
    Press(*test, keys::kRight);
    test->Frame(kDt);  // 0.5 s
    EXPECT_EQ(State(), PlayerState::Walking);
    const auto body = Body();
    ASSERT_TRUE(body.has_value());
    EXPECT_GT(body->Acceleration.x, 0.0f);
    EXPECT_EQ(Z(), std::optional<float>(-1.0f));

    test->Frame(kDt);  // 0.75 s: past the entrance's 0.6 s
    EXPECT_EQ(Z(), std::optional<float>(0.5f));
    test->Frames(8, kDt);
    EXPECT_EQ(Z(), std::optional<float>(0.5f));

    // A second entrance goes to the back again and ends the same way.
    test->Send(MessageTrigger("Starting Sequence", true));
    EXPECT_EQ(Z(), std::optional<float>(-1.0f));
    test->Frames(2, kDt);
    EXPECT_EQ(Z(), std::optional<float>(-1.0f));
    test->Frame(kDt);
    EXPECT_EQ(Z(), std::optional<float>(0.5f));
}

TEST_F(SequenceTest, TheEntranceClockStandsStillWhilePaused) {
    test->Send(MessageTrigger("Starting Sequence", true));
    test->Send(MessageTrigger("Pause", true));
    test->Frames(4, kDt);
    EXPECT_EQ(Z(), std::optional<float>(-1.0f));
    test->Send(MessageTrigger("Pause", false));
    test->Frames(2, kDt);
    EXPECT_EQ(Z(), std::optional<float>(-1.0f));
    test->Frame(kDt);
    EXPECT_EQ(Z(), std::optional<float>(0.5f));
}

TEST_F(SequenceTest, ADeathDuringTheEntranceKeepsTheDepthTheHurtGaveIt) {
    test->Send(MessageTrigger("Starting Sequence", true));
    test->Frame(kDt);
    // The player collision moves a hurt player in depth before it kills.
    ASSERT_TRUE(test->Query<ComponentTransform>(
        hero, [](ComponentTransform& t) { t.translation.z = 0.25f; }));
    test->Send(MessageTrigger("Kill Player", true));
    test->Frames(4, kDt);
    EXPECT_EQ(State(), PlayerState::Death);
    EXPECT_EQ(Z(), std::optional<float>(0.25f));
}

TEST_F(SequenceTest, TheWinStopsThePlayerForItsLengthThenPlayResumes) {
    ASSERT_TRUE(test->Query<ComponentPhysics>(hero, [](ComponentPhysics& p) {
        p.Velocity = {6.0f, 4.0f, 0.0f};
        p.Acceleration.x = 3.0f;
    }));
    Press(*test, keys::kRight);
    test->Send(MessageTrigger("Play Win Animation", true));
    EXPECT_EQ(State(), PlayerState::Win);
    EXPECT_EQ(animations, std::vector<std::string>{"Win once"});
    auto body = Body();
    ASSERT_TRUE(body.has_value());
    EXPECT_FLOAT_EQ(body->Acceleration.x, 0.0f);
    EXPECT_FLOAT_EQ(body->Velocity.x, 3.0f);
    EXPECT_FLOAT_EQ(body->Velocity.y, 2.0f);

    // Standing: no drift and no steering, whatever is held.
    for (int frame = 1; frame <= 2; ++frame) {
        test->Frame(kDt);
        SCOPED_TRACE(frame);
        EXPECT_EQ(State(), PlayerState::Win);
        body = Body();
        ASSERT_TRUE(body.has_value());
        EXPECT_FLOAT_EQ(body->Velocity.x, 0.0f);
        EXPECT_FLOAT_EQ(body->Acceleration.x, 0.0f);
        EXPECT_EQ(WalkingSpeedSends(), frame);
    }

    test->Frame(kDt);  // 0.75 s: past the win's 0.6 s
    EXPECT_EQ(State(), PlayerState::Unset);
    EXPECT_EQ(WalkingSpeedSends(), 2);
    EXPECT_EQ(animations, std::vector<std::string>{"Win once"});

    // Ordinary play again: the held key walks.
    test->Frame(kDt);
    EXPECT_EQ(State(), PlayerState::Walking);
    body = Body();
    ASSERT_TRUE(body.has_value());
    EXPECT_GT(body->Acceleration.x, 0.0f);
    EXPECT_EQ(animations, (std::vector<std::string>{"Win once", "Run loop"}));
}

TEST_F(SequenceTest, AWinInTheAirLetsThePlayerFallAndHalvesOnlyARise) {
    ASSERT_TRUE(test->Query<ComponentPlayerControl>(
        hero, [](ComponentPlayerControl& c) { c.grounded = false; }));
    ASSERT_TRUE(test->Query<ComponentPhysics>(hero, [](ComponentPhysics& p) {
        p.Velocity = {4.0f, -3.0f, 0.0f};
    }));
    test->Send(MessageTrigger("Play Win Animation", true));
    auto body = Body();
    ASSERT_TRUE(body.has_value());
    EXPECT_FLOAT_EQ(body->Velocity.x, 2.0f);
    EXPECT_FLOAT_EQ(body->Velocity.y, -3.0f);
    test->Frame(kDt);
    body = Body();
    ASSERT_TRUE(body.has_value());
    EXPECT_FLOAT_EQ(body->Velocity.x, 2.0f);  // only a standing winner is held still
}

TEST(DeathFreeze, TheBodyHoldsWhereItWasHitThenTheThrowGoesOn) {
    TempAssets assets;
    WriteHero(assets, -10.0f, {{"Death Freeze Time", 0.5}, {"Falling Death Sequence Length", 2.0}});
    assets.Scene("Level", {{"hero", "Hero"}});
    TestEngine test(PlayerRoster());
    test.Enter("Level");
    const EntityId hero = FindEntity(test, "Hero");
    ASSERT_NE(hero, 0);
    // In the air, thrown by the hit as the player collision does.
    ASSERT_TRUE(test.Query<ComponentPhysics>(hero, [](ComponentPhysics& p) {
        p.Velocity = {10.0f, 25.0f, 0.0f};
    }));
    const auto start = test.Get<ComponentTransform>(hero).value().translation;
    test.Send(MessageTrigger("Kill Player", true));
    test.Frames(2, 0.25f);
    const auto held = test.Get<ComponentTransform>(hero).value().translation;
    EXPECT_FLOAT_EQ(held.x, start.x);
    EXPECT_FLOAT_EQ(held.y, start.y);
    EXPECT_EQ(test.Get<ComponentPlayerControl>(hero).value().state, PlayerState::FallingDeath);

    test.Frame(0.25f);  // past the hold: the throw and the gravity come back
    const auto body = test.Get<ComponentPhysics>(hero).value();
    EXPECT_FLOAT_EQ(body.Acceleration.y, -10.0f);
    EXPECT_GT(body.Velocity.y, 20.0f);
    test.Frame(0.25f);
    EXPECT_GT(test.Get<ComponentTransform>(hero).value().translation.x, start.x + 1.0f);

    // A restore during a later hold gives the gravity back.
    test.Send(MessageTrigger("Checkpoint Restore", true));
    test.Send(MessageTrigger("Kill Player", true));
    EXPECT_FLOAT_EQ(test.Get<ComponentPhysics>(hero).value().Acceleration.y, 0.0f);
    test.Send(MessageTrigger("Checkpoint Restore", true));
    EXPECT_FLOAT_EQ(test.Get<ComponentPhysics>(hero).value().Acceleration.y, -10.0f);
}
