#include <gtest/gtest.h>

#include "engine/MessageTrigger.h"
#include "game/goals/SystemDoorBehavior.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "physics2d/MessageCollision.h"
#include "tests/game/GoalsFixture.h"

using json = nlohmann::json;

namespace {

/// A door at x = 5 that leads to "Done", open from its file, and the player away from it.
struct DoorTest : GoalsTest {
    void StartWith(const json& overrides) {
        json behavior = {{"Next State", "Done"},
                         {"Exit Sound", "SFX/Door"},
                         {"Open Animation", "Open"},
                         {"Close Animation", "Close"},
                         {"Start Sequence Open Delay", 1.5},
                         {"Is Active", true}};
        behavior.merge_patch(overrides);
        assets.Entity("Door", {{"Transform", {{"Translation", {5, 0, 0}}}},
                               {"Box Collider", {{"Size", {0.5, 1.0}}}},
                               {"Door Behavior", behavior}});
        Start({{"Door", "Door"}});
        door = FindEntity(*test, "Door");
        ASSERT_NE(door, 0);
    }
    ComponentDoorBehavior Door() {
        ComponentDoorBehavior d;
        EXPECT_TRUE(test->Query<ComponentDoorBehavior>(
            door, [&](ComponentDoorBehavior& found) { d = found; }));
        return d;
    }
    int Exits() { return test->recorder->Count(MessageId::PlayTransitionState); }

    EntityId door = 0;
};

}  // namespace

TEST_F(DoorTest, TheStartingSequenceOpensThenQueuesTheCloseAndStartsTheEntrance) {
    StartWith(json::object());
    // Entering the level ran the door's first update.
    ASSERT_GE(animations.size(), 2u);
    EXPECT_EQ(animations[0].name, "Open");
    EXPECT_FALSE(animations[0].queued);
    EXPECT_EQ(animations[1].name, "Close");
    EXPECT_TRUE(animations[1].queued);
    EXPECT_FLOAT_EQ(animations[1].delay, 1.5f);
    EXPECT_EQ(CountSent(MessageId::Trigger, {"Starting Sequence", 1}), 1);
    EXPECT_FALSE(Door().IsActive);  // "Is Active" in the file does not survive the sequence
    EXPECT_FALSE(Door().StartOfScene);
    ASSERT_TRUE(test->Query<ComponentPlayerControl>(
        hero, [](ComponentPlayerControl& c) { EXPECT_EQ(c.state, PlayerState::StartSequence); }));
    ClearRecords();
    test->Frames(3);
    EXPECT_TRUE(animations.empty()) << "a closed door asks for no animation";
}

TEST_F(DoorTest, AClosedDoorCannotBeExitedUntilTheChaseOpensIt) {
    StartWith(json::object());
    Place(hero, 5.0f, 0.0f);
    test->Frames(5);
    EXPECT_EQ(Exits(), 0);
    EXPECT_EQ(test->states->CurrentState(), "Level");

    test->Send(MessageTrigger("Death Wall", true));
    EXPECT_TRUE(Door().IsActive);
    test->Frame();
    EXPECT_TRUE(Door().Exited);
    EXPECT_FALSE(Door().IsActive);
    EXPECT_EQ(Exits(), 1);
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"SFX/Door"}), 1);
    EXPECT_EQ(animations.back().name, "Close");
    test->Frame();
    EXPECT_EQ(test->states->CurrentState(), "Done");
}

TEST_F(DoorTest, TwoContactsInOneFrameMakeOneExit) {
    StartWith({{"Start Of Scene", false}});
    // Only the door's own side of the contact counts.
    test->Send(MessageCollision(hero, door));
    EXPECT_EQ(Exits(), 0);
    test->Send(MessageCollision(door, hero));
    test->Send(MessageCollision(door, hero));
    EXPECT_EQ(Exits(), 1);
    EXPECT_EQ(CountSent(MessageId::AudioEvent, {"SFX/Door"}), 1);
}

TEST_F(DoorTest, DeathWallFalseClosesEveryDoor) {
    StartWith({{"Start Of Scene", false}});
    EXPECT_TRUE(Door().IsActive);
    test->Send(MessageTrigger("Death Wall", false));
    EXPECT_FALSE(Door().IsActive);
    test->Send(MessageCollision(door, hero));
    EXPECT_EQ(Exits(), 0);
}

// A door without "Next State" used to change to the state "", which stops the game.
TEST_F(DoorTest, ADoorThatLeadsNowhereCannotBeExited) {
    StartWith({{"Start Of Scene", false}, {"Next State", ""}});
    Place(hero, 5.0f, 0.0f);
    test->Frames(3);
    EXPECT_EQ(Exits(), 0);
    EXPECT_FALSE(Door().Exited);
    EXPECT_EQ(test->states->CurrentState(), "Level");
}

// A dead player falling past an open door used to finish the level.
TEST_F(DoorTest, AHurtPlayerCannotExit) {
    StartWith({{"Start Of Scene", false}});
    ASSERT_TRUE(test->Query<ComponentPlayerCollider>(
        hero, [](ComponentPlayerCollider& c) { c.hurt = true; }));
    test->Send(MessageCollision(door, hero));
    EXPECT_EQ(Exits(), 0);
    EXPECT_TRUE(Door().IsActive);
}

// A door exit and a death fade ending in the same frame used to restore a copy of the level
// that stayed loaded after the level was left, and was entered the next time.
TEST_F(DoorTest, LeavingTheLevelDropsARestoreAskedInTheSameFrame) {
    StartWith({{"Start Of Scene", false}});
    test->Send(MessageCollision(door, hero));         // destroys "Level" and changes to "Done"
    test->Send(MessageTrigger("Checkpoint", false));  // the death fade's restore request
    test->Frame();
    EXPECT_EQ(test->states->CurrentState(), "Done");
    EXPECT_FALSE(test->states->HasState("Level"));

    test->Enter("Level");
    const EntityId fresh = FindEntity(*test, "Door");
    ASSERT_TRUE(test->Query<ComponentDoorBehavior>(
        fresh, [](ComponentDoorBehavior& d) { EXPECT_FALSE(d.Exited); }));
}
