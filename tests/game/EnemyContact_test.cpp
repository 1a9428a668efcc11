#include <gtest/gtest.h>

#include "engine/MessageTrigger.h"
#include "game/enemies/SystemEnemyCollision.h"
#include "game/player/SystemPlayerCollision.h"
#include "particle/MessageParticlePool.h"
#include "particle/SystemParticlePool.h"
#include "tests/game/EnemyFixture.h"

using json = nlohmann::json;

namespace {

/// One row of tiles: the anchor at x = 0, a one-way platform at x = 10, a wall at x = 15.
const std::vector<std::string> kRow = {"o.........=....#"};

json Placed(float x, float y, float vx = 0.0f) {
    return {{"Transform", {{"Translation", {x, y, 0}}}}, {"Physics", {{"Velocity", {vx, 0, 0}}}}};
}

struct ContactTest : EnemyTest {
    void WriteSeed(float lifeTime) {
        assets.Entity(
            "Seed", {{"Transform", json::object()},
                     {"Physics", json::object()},
                     {"Circle Collider", {{"Radius", 0.1}}},
                     {"Enemy Bullet Behavior", {{"Life Time", lifeTime}}},
                     {"Enemy Bullet Collision",
                      {{"Tile Collide Sound", "Enemy/Splat"}, {"Tile Collide Effect", "Splat"}}}});
    }
    void Move(EntityId entity, float x, float y) {
        ASSERT_TRUE(test->Query<ComponentTransform>(entity, [&](ComponentTransform& t) {
            t.translation.x = x;
            t.translation.y = y;
        }));
    }
    void Seed(float x, float y) { test->Send(MessageCreateEntity("", "Seed", Placed(x, y))); }
    ComponentPlayerCollider Collider(EntityId hero) {
        ComponentPlayerCollider copy;
        EXPECT_TRUE(test->Query<ComponentPlayerCollider>(
            hero, [&](ComponentPlayerCollider& c) { copy = c; }));
        return copy;
    }
    int Kills() const { return Count(triggers, "Kill Player"); }
};

}  // namespace

// An enemy projectile's own end: its life runs out with the fixed expiry effect, a solid tile
// stops it with its effect and sound, a one-way platform lets it through.
TEST_F(ContactTest, EnemyBulletsExpireAndEndOnWallsButCrossPlatforms) {
    WriteMap(assets, kRow);
    WriteSeed(0.5f);
    Start({{"map", "Map"}, {"seed", {{"Seed", Placed(5, 0, 0)}}}});
    const EntityId resting = FindEntity(*test, "Seed");
    ASSERT_NE(resting, 0);
    test->Frames(25);
    EXPECT_TRUE(Alive(resting));
    test->Frames(10);
    EXPECT_FALSE(Alive(resting));
    int expiries = 0;
    for (const auto& e : effects) expiries += e.entity == resting && e.name == "Wall Collision";
    EXPECT_EQ(expiries, 1);
    int started = 0;
    for (const auto& request : AnimationsOf(resting)) started += request.name == "animation";
    EXPECT_EQ(started, 1);

    json longLived = Placed(7, 0, 6);
    longLived["Enemy Bullet Behavior"] = {{"Life Time", 10}};
    test->Send(MessageCreateEntity("", "Seed", longLived));
    test->Frame();
    const auto flying = Live("Seed");
    ASSERT_EQ(flying.size(), 1u);
    test->Frames(45);  // 4.5 units: over the platform at x = 10
    ASSERT_TRUE(Alive(flying[0])) << "a one-way platform lets it through";
    EXPECT_GT(Transform(flying[0]).translation.x, 10.5f);
    EXPECT_TRUE(effects.empty() || effects.back().name != "Splat");
    test->Frames(60);
    EXPECT_FALSE(Alive(flying[0]));
    EXPECT_GE(Count(sounds, "Enemy/Splat"), 1);
    int splats = 0;
    for (const auto& e : effects) splats += e.entity == flying[0] && e.name == "Splat";
    EXPECT_GE(splats, 1);
}

// Walking into an enemy hurts and kills; an enemy already hit does not; the debug switch
// makes the player untouchable.
TEST_F(ContactTest, EnemyContactHurtsUnlessTheEnemyIsHitOrThePlayerInvincible) {
    WriteHero(assets, 0.0f);
    WriteWalker(json::object());
    Start({{"hero", "Hero"}, {"walker", {{"Walker", Placed(20, 0)}}}});
    const EntityId hero = FindEntity(*test, "Hero");
    const EntityId walker = FindEntity(*test, "Walker");
    ASSERT_NE(hero, 0);
    ASSERT_NE(walker, 0);
    test->Frames(5);

    ASSERT_TRUE(test->Query<ComponentEnemyCollider>(
        walker, [](ComponentEnemyCollider& c) { c.IsHit = true; }));
    Move(walker, 0.6f, 0.0f);
    test->Frames(3);
    EXPECT_FALSE(Collider(hero).hurt) << "a hit enemy is harmless";

    ASSERT_TRUE(test->Query<ComponentEnemyCollider>(
        walker, [](ComponentEnemyCollider& c) { c.IsHit = false; }));
    Press(*test, 80, true);  // debug P: invincible
    test->Frames(3);
    EXPECT_FALSE(Collider(hero).hurt);
    EXPECT_EQ(Kills(), 0);

    Press(*test, 80, true);
    test->Frame();
    EXPECT_TRUE(Collider(hero).hurt);
    EXPECT_EQ(Kills(), 1);
    EXPECT_EQ(Count(sounds, "Player/Hurt"), 1);
    // Thrown up and away from the enemy on its right, still facing it.
    EXPECT_FLOAT_EQ(Body(hero).Velocity.y, 25.0f);
    EXPECT_FLOAT_EQ(Body(hero).Velocity.x, -10.0f);
    EXPECT_GT(Transform(hero).scale.x, 0.0f);
    test->Frames(3);
    EXPECT_EQ(Kills(), 1) << "an already hurt player is not killed again";
    EXPECT_EQ(Count(triggers, "Killed By Enemy"), 1);
    EXPECT_EQ(Count(triggers, "Killed By Enemy Bullet"), 0);
}

// The teapot's win animation takes the controls away; with "Unhurt While Collecting" nothing
// can hurt the player meanwhile, and everything can again once it ends.
TEST_F(ContactTest, WhileCollectingEnemiesAndTheirShotsPassHarmlessly) {
    WriteHero(assets, 0.0f);
    WriteWalker(json::object());
    WriteSeed(10.0f);
    const json unhurt = {{"Player Collision Handler", {{"Unhurt While Collecting", true}}}};
    Start({{"hero", {{"Hero", unhurt}}}, {"walker", {{"Walker", Placed(20, 0)}}}});
    const EntityId hero = FindEntity(*test, "Hero");
    const EntityId walker = FindEntity(*test, "Walker");
    ASSERT_NE(hero, 0);
    ASSERT_NE(walker, 0);
    test->Frames(5);

    test->Send(MessageTrigger("Play Win Animation", true));
    Move(walker, 0.6f, 0.0f);
    Seed(-0.3f, 0.0f);
    test->Frames(3);
    EXPECT_FALSE(Collider(hero).hurt);
    EXPECT_EQ(Kills(), 0);
    EXPECT_EQ(Live("Seed").size(), 1u) << "the shot flies on";

    for (EntityId seed : Live("Seed")) test->Send(MessageDestroyEntity(seed));
    test->Frames(200);  // past the default "Win Sequence Length" of 3 s
    Move(walker, 0.6f, 0.0f);
    test->Frames(3);
    EXPECT_TRUE(Collider(hero).hurt);
    EXPECT_EQ(Kills(), 1);
}

// An enemy bullet hurts and is spent on the player, even on one already hurt; an invincible
// player lets it pass.
TEST_F(ContactTest, EnemyBulletsHurtAndEndOnThePlayer) {
    WriteHero(assets, 0.0f);
    WriteSeed(10.0f);
    Start({{"hero", "Hero"}});
    const EntityId hero = FindEntity(*test, "Hero");
    ASSERT_NE(hero, 0);
    test->Frames(5);

    Press(*test, 80, true);  // invincible
    Seed(-0.3f, 0.0f);
    test->Frames(3);
    EXPECT_EQ(Live("Seed").size(), 1u) << "passes an invincible player";
    EXPECT_FALSE(Collider(hero).hurt);
    for (EntityId seed : Live("Seed")) test->Send(MessageDestroyEntity(seed));
    Press(*test, 80, true);
    test->Frames(2);

    Seed(-0.3f, 0.0f);
    test->Frames(2);
    EXPECT_TRUE(Live("Seed").empty()) << "spent on the player";
    EXPECT_TRUE(Collider(hero).hurt);
    EXPECT_EQ(Kills(), 1);
    EXPECT_FLOAT_EQ(Body(hero).Velocity.x, 10.0f) << "thrown away from a bullet on its left";
    EXPECT_LT(Transform(hero).scale.x, 0.0f) << "and turned to face it";

    Seed(Transform(hero).translation.x, Transform(hero).translation.y);
    test->Frames(2);
    EXPECT_TRUE(Live("Seed").empty());
    EXPECT_EQ(Kills(), 1);
    EXPECT_EQ(Count(triggers, "Killed By Enemy Bullet"), 1) << "one death, named once";
    EXPECT_EQ(Count(triggers, "Killed By Enemy"), 0);
}

// A bullet starts its hit effect and is destroyed in the same step; the particles live on.
TEST_F(ContactTest, ABulletsHitEffectOutlivesTheBullet) {
    WriteMap(assets, kRow);
    assets.Entity("Puffs", {{"Particle Effect", {{"Name", "Puff"}}}});
    assets.Entity(
        "Shot",
        {{"Transform", json::object()},
         {"Physics", json::object()},
         {"Circle Collider", {{"Radius", 0.1}}},
         {"Bullet Behavior", {{"Life Time", 10}}},
         {"Bullet Collision Handler", {{"Tile Collide Effect", "Puff"}}},
         {"Particle Emitter",
          {{"Puff",
            {{"Start", false}, {"Count", 6}, {"Lifetime Minimum", 1}, {"Lifetime Maximum", 1}}}}}});
    Start({{"map", "Map"}, {"pool", "Puffs"}, {"shot", {{"Shot", Placed(12, 0, 20)}}}});
    const EntityId shot = FindEntity(*test, "Shot");
    ASSERT_NE(shot, 0);
    auto live = [&] {
        long count = -1;
        const MessageQueryParticlePool::Callback read = [&](EntityId, ComponentParticlePool& p) {
            count = static_cast<long>(p.Size());
        };
        test->Send(MessageQueryParticlePool("Puff", read));
        return count;
    };
    ASSERT_EQ(live(), 0);
    test->Frames(20);
    ASSERT_FALSE(Alive(shot));
    EXPECT_EQ(live(), 6);
    ComponentParticlePool pool;
    const MessageQueryParticlePool::Callback copy = [&](EntityId, ComponentParticlePool& p) {
        pool = p;
    };
    test->Send(MessageQueryParticlePool("Puff", copy));
    ASSERT_FALSE(pool.Transforms.empty());
    EXPECT_NEAR(pool.Transforms.front().translation.x, 14.5f, 0.5f) << "where the bullet hit";
}
