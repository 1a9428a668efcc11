#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "physics2d/SystemPhysics.h"
#include "tests/game/GameFixture.h"
#include "tests/support/KeptFields.h"

using json = nlohmann::json;

namespace {

// Cell (row, column) has its centre at (column - 4, 5 - row): the anchor 'o' is row 5, col 4.
// The floor (row 6) has its top at y = -0.5, so a standing player (half height 0.9) is at 0.4.
const std::vector<std::string> kLevel = {
    "..............................",  // 0: y = 5
    "..............................",  // 1: y = 4
    ".......===....................",  // 2: y = 3, one-way from x = 3 to 5
    "..............................",  // 3
    "...........................#..",  // 4: y = 1, wall at x = 23
    "....o......................#..",  // 5: y = 0
    "#############^^^####vvv#######",  // 6: y = -1, hazard x = 9..11, pit x = 16..18
    "..............................",  // 7
};

constexpr float kFloorStandY = 0.4f;

struct CollisionTest : ::testing::Test {
    void Start(float x, float y, const json& control = {}) {
        WriteMap(assets, kLevel);
        WriteHero(assets, -30.0f, control);
        assets.Scene("Level", {{"a", "Map"},
                               {"b", {{"Hero", {{"Transform", {{"Translation", {x, y, 0}}}}}}}}});
        test = std::make_unique<TestEngine>(PlayerRoster());
        test->Enter("Level");
        hero = FindEntity(*test, "Hero");
        ASSERT_NE(hero, 0);
    }
    std::optional<glm::vec3> Position() {
        const auto transform = test->Get<ComponentTransform>(hero);
        if (!transform) return std::nullopt;
        return transform->translation;
    }
    std::optional<ComponentPhysics> Body() { return test->Get<ComponentPhysics>(hero); }
    std::optional<ComponentPlayerControl> Control() {
        return test->Get<ComponentPlayerControl>(hero);
    }
    std::optional<ComponentPlayerCollider> Collider() {
        return test->Get<ComponentPlayerCollider>(hero);
    }
    void SetVelocity(glm::vec3 v) {
        ASSERT_TRUE(
            test->Query<ComponentPhysics>(hero, [&](ComponentPhysics& p) { p.Velocity = v; }));
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId hero = 0;
};

}  // namespace

TEST_F(CollisionTest, FallingOntoTheFloorLandsAndStays) {
    Start(0.0f, 3.0f);
    test->Frames(60);
    EXPECT_NEAR(Position().value().y, kFloorStandY, 1e-3f);
    EXPECT_TRUE(Control().value().grounded);
    EXPECT_EQ(test->recorder->LastFields(MessageId::AudioParameter), (Sent{"GroundTexture", 0}));
    test->Frames(120);
    EXPECT_NEAR(Position().value().y, kFloorStandY, 1e-3f);
    EXPECT_EQ(Control().value().state, PlayerState::Idle);
}

TEST_F(CollisionTest, AFastLandingAcrossTwoFloorTilesStaysOnTheFloor) {
    // Centred on the seam between two floor tiles, each overlapped 0.4 sideways; at the lowest
    // frame rate a fall of 0.5 or more a frame sinks deeper than that into both.
    Start(0.5f, 3.0f);
    SetVelocity({0.0f, -15.0f, 0.0f});
    for (int frame = 0; frame < 30; ++frame) {
        test->Frame(1.0f / 30.0f);
        ASSERT_GT(Position().value().y, kFloorStandY - 0.5f)
            << "sank into the floor at frame " << frame;
    }
    EXPECT_NEAR(Position().value().y, kFloorStandY, 1e-3f);
    EXPECT_TRUE(Control().value().grounded);
}

TEST_F(CollisionTest, RunningAcrossManyFloorTilesNeverCatchesOnASeam) {
    Start(-3.0f, kFloorStandY);
    test->Frames(10);
    Press(*test, keys::kD);
    test->Frame();  // the acceleration set now moves the body from the next frame on
    float lastX = Position().value().x;
    bool reachedTopSpeed = false;
    for (int frame = 0; frame < 50; ++frame) {
        test->Frame();
        const glm::vec3 p = Position().value();
        EXPECT_GT(p.x, lastX) << "frame " << frame;
        EXPECT_NEAR(p.y, kFloorStandY, 1e-3f) << "frame " << frame;
        lastX = p.x;
        reachedTopSpeed |= Body().value().Velocity.x == 8.0f;
    }
    EXPECT_TRUE(reachedTopSpeed);
    EXPECT_LT(lastX, 8.0f);  // still on solid floor, short of the hazard strip
}

TEST_F(CollisionTest, AWallStopsThePlayer) {
    Start(20.0f, kFloorStandY);
    test->Frames(10);
    Press(*test, keys::kRight);
    test->Frames(120);
    // The wall's left face is at x = 22.5; the box's half width is 0.4.
    EXPECT_NEAR(Position().value().x, 22.1f, 1e-3f);
    EXPECT_NEAR(Position().value().y, kFloorStandY, 1e-3f);
}

TEST_F(CollisionTest, OneWayPlatformIsPassedFromBelowAndLandedOnFromAbove) {
    // Under the platform, jumping straight up.
    Start(4.0f, kFloorStandY, {{"Jump Velocity", 20}});
    test->Frames(10);
    SetVelocity({0.0f, 20.0f, 0.0f});
    float highest = -1e9f;
    for (int frame = 0; frame < 180; ++frame) {
        test->Frame();
        highest = std::max(highest, Position().value().y);
    }
    // It rose through the platform (top 3.5) and came down on it.
    EXPECT_GT(highest, 3.5f + 0.9f + 1.0f);
    EXPECT_NEAR(Position().value().y, 4.4f, 1e-3f);
    EXPECT_TRUE(Control().value().grounded);
    EXPECT_EQ(test->recorder->LastFields(MessageId::AudioParameter), (Sent{"GroundTexture", 1}));
    // Standing there for a long while does not sink through it.
    test->Frames(600);
    EXPECT_NEAR(Position().value().y, 4.4f, 1e-3f);
}

TEST_F(CollisionTest, APlayerAlreadyBelowThePlatformTopFallsThrough) {
    // Bottom at 2.7, under the platform's top (3.5), and falling.
    Start(4.0f, 3.6f);
    test->Frames(60);
    EXPECT_NEAR(Position().value().y, kFloorStandY, 1e-3f);
}

TEST_F(CollisionTest, LandingOnAHazardKillsAndTheHurtPlayerFallsThroughTheLevel) {
    Start(10.0f, 2.0f);
    test->Frames(30);
    EXPECT_TRUE(Collider().value().hurt);
    EXPECT_EQ(Control().value().state, PlayerState::FallingDeath);
    EXPECT_EQ(test->recorder->Fields(MessageId::Trigger),
              (std::vector<Sent>{{"Checkpoint", 1}, {"Killed By Hazard", 1}, {"Kill Player", 1}}));
    EXPECT_EQ(test->recorder->Fields(MessageId::AudioEvent), (std::vector<Sent>{{"Player/Hurt"}}));
    test->Frames(150);
    // Nothing holds a hurt player: it drops through the solid floor.
    EXPECT_LT(Position().value().y, -5.0f);
    // A restore makes the tiles solid for it again.
    test->Send(MessageTrigger("Checkpoint Restore", true));
    EXPECT_FALSE(Collider().value().hurt);
}

TEST_F(CollisionTest, APitAsksForTheReloadAndFallingOutOfTheLevelKeepsAsking) {
    Start(17.0f, 2.0f);
    test->Frames(30);
    EXPECT_TRUE(Collider().value().hurt);
    EXPECT_GE(test->recorder->Count(MessageId::PlayTransitionReloadCheckpoint), 1);

    ASSERT_TRUE(test->Query<ComponentTransform>(
        hero, [](ComponentTransform& t) { t.translation.y = -150.0f; }));
    const auto named = [&] {
        const auto sent = test->recorder->Fields(MessageId::Trigger);
        return std::count(sent.begin(), sent.end(), Sent{"Fell Into Pit", 1});
    };
    EXPECT_EQ(named(), 1);
    test->recorder->Clear();
    test->Frames(3);
    EXPECT_EQ(test->recorder->Count(MessageId::PlayTransitionReloadCheckpoint), 3);
    EXPECT_EQ(named(), 0) << "the fall on out of the level is the same death";
}

TEST_F(CollisionTest, FallingOutOfTheLevelAliveNamesTheFallOncePerDeath) {
    Start(0.0f, kFloorStandY);
    test->Frames(5);
    const auto named = [&] {
        const auto sent = test->recorder->Fields(MessageId::Trigger);
        return std::count(sent.begin(), sent.end(), Sent{"Fell Into Pit", 1});
    };
    for (int death = 1; death <= 2; ++death) {
        ASSERT_TRUE(test->Query<ComponentTransform>(
            hero, [](ComponentTransform& t) { t.translation.y = -150.0f; }));
        test->Frames(3);
        EXPECT_EQ(named(), death);
        test->Send(MessageTrigger("Checkpoint Restore", true));
    }
}

TEST_F(CollisionTest, WithCollisionsOffTheFlyingPlayerPassesThroughTheFloor) {
    Start(0.0f, kFloorStandY);
    test->Frames(10);
    Press(*test, keys::kO, true);  // fly mode and collisions off together
    Press(*test, keys::kS);
    test->Frames(30);
    EXPECT_LT(Position().value().y, -3.0f);
}

TEST_F(CollisionTest, APlayerStandingOnAFloatingPlatformCanJumpOffIt) {
    WriteMap(assets, kLevel);
    WriteHero(assets, -30.0f);
    assets.Entity("Slab", {{"Transform", {{"Translation", {0, 2, 0}}}},
                           {"Box Collider", {{"Size", {1.5, 0.3}}}},
                           {"Physics", json::object()},
                           {"Platform Collision Handler", json::object()}});
    assets.Scene("Level", {{"a", "Map"},
                           {"b", {{"Hero", {{"Transform", {{"Translation", {0, 4, 0}}}}}}}},
                           {"c", "Slab"}});
    test = std::make_unique<TestEngine>(PlayerRoster());
    test->Enter("Level");
    hero = FindEntity(*test, "Hero");
    ASSERT_NE(hero, 0);
    test->Frames(60);
    const float standing = Position().value().y;
    EXPECT_NEAR(standing, 2.0f + 0.3f + 0.9f, 0.05f) << "on the slab, not the floor";
    EXPECT_TRUE(Control().value().grounded);

    Press(*test, keys::kSpace);
    test->Frames(20);
    Release(*test, keys::kSpace);
    EXPECT_GT(Position().value().y, standing + 1.0f) << "the jump leaves the slab";
}
