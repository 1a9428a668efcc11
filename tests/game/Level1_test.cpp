#include <gtest/gtest.h>

#include <optional>

#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "tests/game/GameFixture.h"
#include "tests/support/KeptFields.h"

namespace {

/// The shipped Level1 with the player's systems: the data must load, stand and play.
struct Level1Test : ::testing::Test {
    void SetUp() override {
        for (const char* folder : {"Assets/Data", "Assets/Textures"}) assets.CopyShipped(folder);
        test = std::make_unique<TestEngine>(PlayerRoster());
        test->Enter("Level1");
        player = FindEntity(*test, "Player");
        camera = FindEntity(*test, "Level1Camera");
        ASSERT_NE(player, 0);
        ASSERT_NE(camera, 0);
    }
    /// The world position; empty (and the test failed) when the entity has no transform.
    std::optional<glm::vec3> Where(EntityId entity) {
        const auto transform = test->Get<ComponentTransform>(entity);
        if (!transform) return std::nullopt;
        return transform->translation;
    }
    void Place(float x, float y) {
        ASSERT_TRUE(test->Query<ComponentTransform>(player, [&](ComponentTransform& t) {
            t.translation.x = x;
            t.translation.y = y;
        }));
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId player = 0;
    EntityId camera = 0;
};

}  // namespace

TEST_F(Level1Test, ThePlayerLandsAtTheStartAndTheCameraKeepsToTheBounds) {
    test->Frames(90);
    EXPECT_NEAR(Where(player).value().x, 4.0f, 1e-3f);
    EXPECT_NEAR(Where(player).value().y, kLevel1StandY, 1e-3f);
    EXPECT_FLOAT_EQ(Where(camera).value().x, 12.0f);
    EXPECT_FLOAT_EQ(Where(camera).value().y, 7.5f);
}

TEST_F(Level1Test, RunningRightReachesTheStepAndTheCameraFollowsFurtherOn) {
    test->Frames(30);
    Press(*test, keys::kRight);
    test->Frames(120);
    // The knee-high step at x = 12 stops a player who does not jump.
    EXPECT_NEAR(Where(player).value().x, 11.5f - 0.35f, 1e-3f);
    // A jump clears it; held, not tapped: letting go early cuts the rise.
    Press(*test, keys::kSpace);
    test->Frames(30);
    Release(*test, keys::kSpace);
    test->Frames(80);
    EXPECT_GT(Where(player).value().x, 17.0f);
    EXPECT_FLOAT_EQ(Where(camera).value().x, Where(player).value().x);
}

TEST_F(Level1Test, SpikesKillAndPitsAskForTheReload) {
    Place(37.5f, 8.0f);
    test->Frames(30);
    EXPECT_TRUE(test->Get<ComponentPlayerCollider>(player).value().hurt);
    EXPECT_EQ(test->Get<ComponentPlayerControl>(player).value().state, PlayerState::FallingDeath);
    EXPECT_EQ(test->recorder->LastFields(MessageId::Trigger), (Sent{"Kill Player", 1}));

    test->Send(MessageTrigger("Checkpoint", false));  // the reload the transition asks for
    test->Frame();
    EXPECT_NEAR(Where(player).value().x, 4.0f, 1.0f);
    test->recorder->Clear();
    Place(29.5f, 8.0f);
    test->Frames(60);
    EXPECT_GE(test->recorder->Count(MessageId::PlayTransitionReloadCheckpoint), 1);
}
