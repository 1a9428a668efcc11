#include <gtest/gtest.h>

#include "game/enemies/SystemEnemyBehavior.h"
#include "game/enemies/SystemEnemyCollision.h"
#include "tests/game/EnemyFixture.h"

using json = nlohmann::json;

namespace {

json At(float x, float y, float vx = 0.0f, float scaleX = 1.0f) {
    return {{"Transform", {{"Translation", {x, y, 0}}, {"Scale", {scaleX, 1, 1}}}},
            {"Physics", {{"Velocity", {vx, 0, 0}}}}};
}

ComponentEnemyBehavior BehaviorOf(TestEngine& test, EntityId entity) {
    ComponentEnemyBehavior copy;
    EXPECT_TRUE(
        test.Query<ComponentEnemyBehavior>(entity, [&](ComponentEnemyBehavior& b) { copy = b; }));
    return copy;
}

}  // namespace

// The worked patrol: from x = 5 walking right at 2 between 0 and 10 with one-second pauses.
TEST_F(EnemyTest, PatrolWalksPausesForItsPauseLengthAndTurnsMirrored) {
    WriteWalker({{"Patrol Left End", 0},
                 {"Patrol Right End", 10},
                 {"Patrol Pause Length", 1},
                 {"Walk Speed", 2},
                 {"Walk Animation", "walk"},
                 {"Idle Animation", "idle"}});
    Start({{"w", {{"Walker", At(5, 0, 2)}}}});
    const EntityId walker = FindEntity(*test, "Walker");
    ASSERT_NE(walker, 0);

    int frames = 0;
    while (Body(walker).Velocity.x != 0.0f && frames < 600) {
        test->Frame();
        ++frames;
    }
    ASSERT_LT(frames, 600) << "never stopped at the right end";
    EXPECT_GT(Transform(walker).translation.x, 10.0f);
    EXPECT_LT(Transform(walker).translation.x, 10.1f);
    ASSERT_FALSE(AnimationsOf(walker).empty());
    EXPECT_EQ(AnimationsOf(walker).front().name, "walk");
    EXPECT_EQ(AnimationsOf(walker).back().name, "idle");
    EXPECT_TRUE(AnimationsOf(walker).back().loop);

    int paused = 0;
    while (Body(walker).Velocity.x == 0.0f && paused < 600) {
        test->Frame();
        ++paused;
    }
    EXPECT_NEAR(paused, 60, 2) << "the pause lasts about one second";
    EXPECT_FLOAT_EQ(Body(walker).Velocity.x, -2.0f);
    EXPECT_FLOAT_EQ(Transform(walker).scale.x, -1.0f);
    EXPECT_EQ(AnimationsOf(walker).back().name, "walk");
    EXPECT_FALSE(BehaviorOf(*test, walker).FacingRight);

    // And back again at the left end, facing right once more.
    test->Frames(400);
    EXPECT_GT(Body(walker).Velocity.x, 0.0f);
    EXPECT_FLOAT_EQ(Transform(walker).scale.x, 1.0f);
}

// Facing comes from the first velocity; an end is passed only strictly; no pause means no
// idle.
TEST_F(EnemyTest, FacingFromTheFirstVelocityAndStrictPatrolEnds) {
    WriteWalker({{"Patrol Left End", 0}, {"Patrol Right End", 10}, {"Walk Speed", 2}});
    Start({{"a", {{"Walker", At(3, 0, -1)}}},
           {"b", {{"Walker", At(0, 5)}}},
           {"c", {{"Walker", At(-0.01f, 10)}}}});
    const auto walkers = FindEntities(*test, "Walker");
    ASSERT_EQ(walkers.size(), 3u);
    // Scene labels load in key order, so ids follow a, b, c.
    const EntityId leftward = walkers[0], onEnd = walkers[1], pastEnd = walkers[2];
    test->Frames(30);

    EXPECT_FALSE(BehaviorOf(*test, leftward).FacingRight);
    EXPECT_FLOAT_EQ(Body(leftward).Velocity.x, -1.0f);

    EXPECT_FLOAT_EQ(Body(onEnd).Velocity.x, 0.0f) << "exactly on the end has not passed it";
    EXPECT_FLOAT_EQ(Transform(onEnd).scale.x, 1.0f);

    EXPECT_FLOAT_EQ(Body(pastEnd).Velocity.x, 2.0f) << "turned at once, without a pause";
    EXPECT_FLOAT_EQ(Transform(pastEnd).scale.x, -1.0f);
    for (const auto& request : AnimationsOf(pastEnd)) EXPECT_NE(request.name, "idle");
}

// Two bullets in the same frame: one death sound, one effect, one hurt animation; the enemy
// stops at once and is destroyed 0.4 s of update time after the hit, not while paused.
TEST_F(EnemyTest, TwoBulletsInOneFrameKillOnceAndThePausedEngineKeepsTheDyingEnemy) {
    WriteWalker({{"Patrol Left End", -5}, {"Patrol Right End", 5}, {"Walk Speed", 2}},
                {{"Death Sound", "Enemy/Death"}, {"Death Effect", "Poof"}});
    WritePellet();
    Start({{"w", {{"Walker", At(0, 0, 2)}}}});
    const EntityId walker = FindEntity(*test, "Walker");
    test->Frames(10);
    ASSERT_GT(Body(walker).Velocity.x, 0.0f);

    // Two bullets created between frames meet the enemy in the same update.
    const glm::vec3 at = Transform(walker).translation;
    for (float dy : {-0.1f, 0.1f}) {
        const json place = {{"Transform", {{"Translation", {at.x - 0.2f, at.y + dy, 0}}}}};
        test->Send(MessageCreateEntity("", "Pellet", place));
    }
    test->Frame(0.0f);  // the bullets are born
    test->Frame(0.0f);  // the hit, paused: no death time passes
    ASSERT_TRUE(test->Query<ComponentEnemyCollider>(walker, [](ComponentEnemyCollider& c) {
        EXPECT_TRUE(c.IsDying);
        EXPECT_TRUE(c.IsHit);
    }));
    test->Frames(100, 0.0f);
    EXPECT_TRUE(Alive(walker)) << "a paused engine keeps the dying enemy";
    EXPECT_TRUE(Live("Pellet").empty()) << "both bullets end on the enemy";
    EXPECT_EQ(Count(sounds, "Enemy/Death"), 1);
    int poofs = 0;
    for (const auto& effect : effects) poofs += effect.entity == walker && effect.name == "Poof";
    EXPECT_EQ(poofs, 1);
    int hurts = 0;
    for (const auto& request : AnimationsOf(walker)) {
        if (request.name == "hurt") {
            ++hurts;
            EXPECT_FALSE(request.loop);
        }
    }
    EXPECT_EQ(hurts, 1);

    test->Frames(3, 0.1f);
    EXPECT_TRUE(Alive(walker));
    EXPECT_FLOAT_EQ(Body(walker).Velocity.x, 0.0f);
    EXPECT_FLOAT_EQ(BehaviorOf(*test, walker).WalkSpeed, 0.0f);
    test->Frames(3, 0.1f);
    EXPECT_FALSE(Alive(walker));
}

// Without a behavior the enemy still dies; it only lacks the stop and the hurt animation.
TEST_F(EnemyTest, AnEnemyWithoutBehaviorStillDies) {
    assets.Entity("Dummy", {{"Transform", {{"Translation", {0, 0, 0}}}},
                            {"Box Collider", {{"Size", {0.4, 0.45}}}},
                            {"Enemy Collision Handler", {{"Death Sound", "Enemy/Death"}}}});
    WritePellet();
    Start({{"d", "Dummy"}, {"p", {{"Pellet", {{"Transform", {{"Translation", {0.2, 0, 0}}}}}}}}});
    const EntityId dummy = FindEntity(*test, "Dummy");
    test->Frames(2);
    EXPECT_EQ(Count(sounds, "Enemy/Death"), 1);
    test->Frames(30);
    EXPECT_FALSE(Alive(dummy));
}
