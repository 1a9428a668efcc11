#include <gtest/gtest.h>

#include <filesystem>

#include "engine/SystemTransform.h"
#include "game/Roster.h"
#include "game/camera/SystemCameraControl.h"
#include "game/goals/SystemCheckpointCollision.h"
#include "game/goals/SystemDoorBehavior.h"
#include "game/goals/SystemTeapotCollision.h"
#include "game/hazards/SystemDeathWallBehavior.h"
#include "game/player/SystemPlayerControl.h"
#include "tests/game/GameFixture.h"
#include "tests/support/KeptFields.h"

namespace fs = std::filesystem;

namespace {

/// The shipped Level1 with the whole roster: its goals must be wired to one another.
struct Level1Goals : ::testing::Test {
    void SetUp() override {
        for (const char* folder : {"Assets/Data", "Assets/Textures"}) {
            assets.CopyShipped(folder);
        }
        test = std::make_unique<TestEngine>(MakeRoster());
        test->Enter("Level1");
        player = FindEntity(*test, "Player");
        const auto doors = FindEntities(*test, "Door");
        ASSERT_NE(player, 0);
        ASSERT_EQ(doors.size(), 2u);
        exitDoor = doors[0];  // the one the guidance arrow points at
        entranceDoor = doors[1];
        teapot = FindEntity(*test, "Teapot");
        wall = FindEntity(*test, "DeathWall");
        ASSERT_NE(teapot, 0);
        ASSERT_NE(wall, 0);
    }
    void Place(float x, float y) {
        ASSERT_TRUE(test->Query<ComponentTransform>(player, [&](ComponentTransform& t) {
            t.translation.x = x;
            t.translation.y = y;
        }));
    }
    float X(EntityId entity) {
        float x = 0.0f;
        EXPECT_TRUE(test->Query<ComponentTransform>(
            entity, [&](ComponentTransform& t) { x = t.translation.x; }));
        return x;
    }
    ComponentDoorBehavior Door(EntityId door) {
        ComponentDoorBehavior d;
        EXPECT_TRUE(test->Query<ComponentDoorBehavior>(
            door, [&](ComponentDoorBehavior& found) { d = found; }));
        return d;
    }
    int Count(const std::string& trigger) {
        return test->recorder->Count(MessageId::Trigger, Sent{trigger, 1});
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId player = 0, exitDoor = 0, entranceDoor = 0, teapot = 0, wall = 0;
};

}  // namespace

TEST_F(Level1Goals, TheEntranceDoorOpensForThePlayerAndClosesBehindIt) {
    EXPECT_EQ(Count("Starting Sequence"), 1);
    EXPECT_FALSE(Door(entranceDoor).IsActive);
    EXPECT_FALSE(Door(exitDoor).IsActive);
    EXPECT_NEAR(X(entranceDoor), X(player), 0.5f) << "the player enters through the door";
    // Walking through the closed doors does nothing.
    test->Frames(60);
    EXPECT_EQ(test->recorder->Count(MessageId::PlayTransitionState), 0);
}

TEST_F(Level1Goals, TheFirstCheckpointIsTakenOnTheWayAndSaved) {
    const EntityId flag = FindEntities(*test, "Checkpoint").at(0);
    Place(X(flag) - 1.0f, kLevel1StandY);
    Press(*test, keys::kRight);
    test->Frames(30);
    Release(*test, keys::kRight);
    ASSERT_TRUE(test->Query<ComponentCheckpointCollider>(
        flag, [](ComponentCheckpointCollider& c) { EXPECT_TRUE(c.Activated); }));
    EXPECT_EQ(Count("Checkpoint"), 2);  // entering the level, then the checkpoint
}

TEST_F(Level1Goals, FromTheTeapotTheWallChasesAndTheExitDoorLeadsOn) {
    test->Frames(30);
    Place(X(teapot) - 1.2f, kLevel1StandY);
    Press(*test, keys::kRight);
    test->Frames(20);
    Release(*test, keys::kRight);
    ASSERT_TRUE(test->Query<ComponentTeapotCollider>(
        teapot, [](ComponentTeapotCollider& t) { EXPECT_TRUE(t.Collected); }));
    EXPECT_EQ(Count("Play Win Animation"), 1);
    EXPECT_EQ(Count("Death Wall"), 0);

    test->Frames(150);  // the teapot's delay
    EXPECT_EQ(Count("Death Wall"), 1);
    EXPECT_TRUE(Door(exitDoor).IsActive);
    ASSERT_TRUE(test->Query<ComponentDeathWallBehavior>(
        wall, [](ComponentDeathWallBehavior& w) { EXPECT_TRUE(w.Active); }));
    ASSERT_TRUE(test->Query<ComponentCameraControl>(
        FindEntity(*test, "Level1Camera"),
        [](ComponentCameraControl& c) { EXPECT_TRUE(c.Shake); }));
    const float wallStart = X(wall);
    test->Frames(60);
    EXPECT_GT(X(wall), wallStart + 3.0f) << "the wall gives chase";

    // Past the last block, the player runs into the open exit door.
    Place(X(exitDoor) - 1.5f, kLevel1StandY);
    Press(*test, keys::kRight);
    test->Frames(30);
    Release(*test, keys::kRight);
    EXPECT_TRUE(Door(exitDoor).Exited);
    EXPECT_EQ(test->recorder->Count(MessageId::PlayTransitionState), 1);
    test->Frames(90);  // the exit fade
    EXPECT_EQ(test->states->CurrentState(), "Level2");
}
