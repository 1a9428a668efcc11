#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "engine/SystemTransform.h"
#include "game/Roster.h"
#include "game/camera/SystemCameraControl.h"
#include "game/goals/SystemDoorBehavior.h"
#include "game/player/SystemPlayerCollision.h"
#include "tests/game/GameFixture.h"

namespace {

struct Link {
    const char* level;
    const char* camera;
    const char* next;
};

void PrintTo(const Link& link, std::ostream* out) {
    *out << link.level << " -> " << link.next;
}

/// Each shipped level with the whole roster: it must load, let the player stand at its
/// entrance, and lead on through its exit door to the next state.
class LevelChain : public ::testing::TestWithParam<Link> {
protected:
    void SetUp() override {
        for (const char* folder : {"Assets/Data", "Assets/Textures"}) assets.CopyShipped(folder);
        test = std::make_unique<TestEngine>(MakeRoster());
        test->Enter(GetParam().level);
    }
    float X(EntityId entity) {
        float x = 0.0f;
        EXPECT_TRUE(test->Query<ComponentTransform>(
            entity, [&](ComponentTransform& t) { x = t.translation.x; }));
        return x;
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
};

}  // namespace

TEST_P(LevelChain, TheExitDoorLeadsOnAndTheGoalsLieBetweenTheDoors) {
    const EntityId player = FindEntity(*test, "Player");
    const EntityId teapot = FindEntity(*test, "Teapot");
    const EntityId wall = FindEntity(*test, "DeathWall");
    const auto doors = FindEntities(*test, "Door");
    ASSERT_NE(player, 0);
    ASSERT_NE(teapot, 0);
    ASSERT_NE(wall, 0);
    ASSERT_EQ(doors.size(), 2u);
    const auto exit = test->Get<ComponentDoorBehavior>(doors[0]);
    const auto entrance = test->Get<ComponentDoorBehavior>(doors[1]);
    ASSERT_TRUE(exit && entrance);
    EXPECT_EQ(exit->NextState, GetParam().next);
    EXPECT_FALSE(exit->StartOfScene);
    EXPECT_TRUE(entrance->NextState.empty()) << "the entrance leads nowhere";
    EXPECT_FALSE(FindEntities(*test, "Checkpoint").empty());

    // The wall waits behind the entrance; the teapot lies on the way to the exit.
    EXPECT_LT(X(wall), X(doors[1]));
    EXPECT_LT(X(doors[1]), X(teapot));
    EXPECT_LT(X(teapot), X(doors[0]));
    // The camera can reach the exit: it lies within half a view of the right bound.
    const auto camera = test->Get<ComponentCameraControl>(FindEntity(*test, GetParam().camera));
    ASSERT_TRUE(camera);
    EXPECT_LT(X(doors[0]), camera->RightBound + 12.0f);
    EXPECT_GT(X(doors[0]), camera->RightBound);

    // The player lands at the entrance unhurt: the map's ground is under the door.
    test->Frames(90);
    EXPECT_NEAR(X(player), X(doors[1]), 1e-3f);
    ASSERT_TRUE(test->Query<ComponentTransform>(
        player, [](ComponentTransform& t) { EXPECT_NEAR(t.translation.y, 6.3f, 1e-3f); }));
    EXPECT_FALSE(test->Get<ComponentPlayerCollider>(player).value().hurt);
}

INSTANTIATE_TEST_SUITE_P(Shipped, LevelChain,
                         ::testing::Values(Link{"Level1", "Level1Camera", "Level2"},
                                           Link{"Level2", "Level2Camera", "Level3"},
                                           Link{"Level3", "Level3Camera", "WinScreen"}),
                         [](const auto& info) { return std::string(info.param.level); });

// Each level has more enemies, and more of them shooters, than the one before.
TEST(LevelDifficulty, EnemiesAndShootersGrowFromLevelToLevel) {
    TempAssets assets;
    for (const char* folder : {"Assets/Data", "Assets/Textures"}) assets.CopyShipped(folder);
    int enemies = 0, shooters = 0;
    for (const char* level : {"Level1", "Level2", "Level3"}) {
        TestEngine test(MakeRoster());
        test.Enter(level);
        const int walkersNow = static_cast<int>(FindEntities(test, "EnemyWalker").size());
        const int shootersNow = static_cast<int>(FindEntities(test, "EnemyShooter").size());
        EXPECT_GT(walkersNow + shootersNow, enemies) << level;
        EXPECT_GT(shootersNow, shooters) << level;
        enemies = walkersNow + shootersNow;
        shooters = shootersNow;
    }
}
