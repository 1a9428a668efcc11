#include <gtest/gtest.h>

#include <cmath>

#include "audio/MessageAudio.h"
#include "engine/MessageSpriteRender.h"
#include "game/enemies/SystemEnemyBehavior.h"
#include "game/enemies/SystemEnemyCollision.h"
#include "game/enemies/SystemEnemyShooting.h"
#include "tests/game/EnemyFixture.h"

using json = nlohmann::json;

namespace {

/// A shooter standing at (100, 0) with a muzzle bone "beaks" at (0.5, 0.25), and a projectile
/// file "Seed". Far from the origin, where the player is taken to be until the listener speaks,
/// so that the range test made while the level loads fails.
struct ShooterTest : EnemyTest {
    static json Clips() {
        json clips = json::object();
        for (const char* name : {"walk", "idle", "shoot", "hurt"}) {
            clips[name] = {{"Frames", {{0, 0}}}};
        }
        return clips;
    }
    void Write(const json& shooting, float scaleX = 1.0f) {
        json s = {
            {"Shoot Speed", 6},      {"Shot Cooldown", 0.5},        {"Enemy Range", 5},
            {"Target Bone", "head"}, {"Shoot Sound", "Enemy/Shot"}, {"Projectile Entity", "Seed"}};
        s.merge_patch(shooting);
        assets.Entity(
            "Shooter",
            {{"Transform", {{"Translation", {100, 0, 1}}, {"Scale", {scaleX, 1, 1}}}},
             {"Box Collider", {{"Size", {0.4, 0.45}}}},
             {"Physics", json::object()},
             {"Animation",
              {{"Clips", Clips()}, {"Bones", {{"head", {0, 0.4}}, {"beaks", {0.5, 0.25}}}}}},
             {"Enemy Behavior", json::object()},
             {"Enemy Collision Handler", json::object()},
             {"Enemy Shooting", s}});
        assets.Entity("Seed", {{"Transform", json::object()},
                               {"Physics", json::object()},
                               {"Circle Collider", {{"Radius", 0.1}}},
                               {"Enemy Bullet Behavior", {{"Life Time", 10}}},
                               {"Enemy Bullet Collision", json::object()}});
    }
    void Player(float x, float y) {
        test->Send(MessageListenerPosition(glm::vec3(x, y, 0.0f), glm::vec3(0.0f)));
    }
    /// Steps frames until `done`; the number of frames it took, or -1 after `limit`.
    template <class F>
    int FramesUntil(F done, int limit = 200) {
        for (int frame = 1; frame <= limit; ++frame) {
            test->Frame();
            if (done()) return frame;
        }
        return -1;
    }
    std::size_t EntityCount() {
        const std::unordered_map<EntityId, std::string>* names = nullptr;
        test->Send(MessageQueryEntityNames(&names));
        return names ? names->size() : 0;
    }
    int Shots() const {
        int n = 0;
        for (const auto& request : animations) n += request.name == "shoot";
        return n;
    }
};

}  // namespace

// Facing left towards the player: the shot leaves the mirrored muzzle in world space and flies
// at the player, turned to match; the next test of range follows two cool-downs later.
TEST_F(ShooterTest, AShotLeavesTheMuzzleBoneTowardsThePlayerTheEnemyFaces) {
    Write(json::object(), -1.0f);
    Start({{"s", "Shooter"}});
    const EntityId shooter = FindEntity(*test, "Shooter");
    ASSERT_NE(shooter, 0);
    Player(96.0f, 0.0f);
    ASSERT_GT(FramesUntil([&] { return !Live("Seed").empty(); }, 40), 0);
    const auto seeds = Live("Seed");
    ASSERT_EQ(seeds.size(), 1u);
    const ComponentTransform seed = Transform(seeds[0]);
    EXPECT_NEAR(seed.translation.x, 99.5f, 1e-4f);
    EXPECT_NEAR(seed.translation.y, 0.25f, 1e-4f);
    EXPECT_NEAR(seed.translation.z, 0.99f, 1e-4f);
    const glm::vec3 v = Body(seeds[0]).Velocity;
    EXPECT_NEAR(v.x, -6.0f, 1e-4f);
    EXPECT_NEAR(v.y, 0.0f, 1e-4f);
    EXPECT_NEAR(std::fabs(seed.rotation.z), 3.1415927f, 1e-4f);
    EXPECT_EQ(Count(sounds, "Enemy/Shot"), 1);
    ASSERT_FALSE(AnimationsOf(shooter).empty());
    EXPECT_EQ(AnimationsOf(shooter).back().name, "shoot");
    EXPECT_NEAR(AnimationsOf(shooter).back().speed, 1.0f / 3.0f, 1e-5f);

    const int next = FramesUntil([&] { return Live("Seed").size() == 2; });
    EXPECT_NEAR(next, 60, 2) << "the next shot follows two cool-downs later";
}

// At exactly the range the player is shot at; idle is asked for only when the player leaves,
// so a player who was never near leaves the enemy's own animation alone.
TEST_F(ShooterTest, RangeIsInclusiveAndIdleOnlyFollowsLeavingIt) {
    Write(json::object());
    Start({{"s", "Shooter"}});
    const EntityId shooter = FindEntity(*test, "Shooter");
    Player(130.0f, 0.0f);
    test->Frames(120);
    for (const auto& request : AnimationsOf(shooter)) EXPECT_NE(request.name, "idle");
    EXPECT_TRUE(Live("Seed").empty());

    Player(103.0f, 4.0f);  // distance 5 exactly
    EXPECT_GT(FramesUntil([&] { return Live("Seed").size() == 1; }, 40), 0);
    Player(130.0f, 0.0f);
    test->Frames(120);
    int idles = 0;
    for (const auto& request : AnimationsOf(shooter)) idles += request.name == "idle";
    EXPECT_EQ(idles, 1);
    EXPECT_EQ(AnimationsOf(shooter).back().name, "idle");
}

// A dying enemy stops shooting and leaves its hurt animation alone.
TEST_F(ShooterTest, ADyingEnemyHoldsItsFire) {
    Write(json::object());
    Start({{"s", "Shooter"}});
    const EntityId shooter = FindEntity(*test, "Shooter");
    Player(101.0f, 0.0f);
    ASSERT_GT(FramesUntil([&] { return Shots() == 1; }, 40), 0);
    const std::size_t requests = AnimationsOf(shooter).size();
    ASSERT_TRUE(test->Query<ComponentEnemyCollider>(shooter, [](ComponentEnemyCollider& c) {
        c.IsDying = c.IsHit = true;
        c.DeathDelay = 100.0f;  // kept dying for the length of the test
    }));
    // What the hit itself does to the behavior, so that the hurt animation is asked for.
    ASSERT_TRUE(test->Query<ComponentEnemyBehavior>(
        shooter, [](ComponentEnemyBehavior& b) { b.AnimationDirty = true; }));
    test->Frames(180);
    EXPECT_TRUE(Alive(shooter));
    EXPECT_EQ(Shots(), 1);
    int hurts = 0;
    for (const auto& request : AnimationsOf(shooter)) hurts += request.name == "hurt";
    EXPECT_EQ(hurts, 1);
    EXPECT_EQ(AnimationsOf(shooter).back().name, "hurt") << "nothing replaced the hurt animation";
    EXPECT_GT(AnimationsOf(shooter).size(), requests);
    EXPECT_EQ(Live("Seed").size(), 1u);
}

// No projectile file: no shot at all (no sound, no animation, no bare entity).
TEST_F(ShooterTest, NoProjectileMeansNoShot) {
    Write({{"Projectile Entity", ""}});
    Start({{"s", "Shooter"}});
    const std::size_t before = EntityCount();
    ASSERT_GT(before, 0u);
    Player(101.0f, 0.0f);
    test->Frames(90);
    EXPECT_EQ(Shots(), 0);
    EXPECT_EQ(Count(sounds, "Enemy/Shot"), 0);
    EXPECT_EQ(EntityCount(), before);
}

// A cool-down of 0 plays the shoot animation at normal speed instead of dividing by zero.
TEST_F(ShooterTest, ZeroCooldownShootsAtNormalAnimationSpeed) {
    Write({{"Shot Cooldown", 0}});
    Start({{"s", "Shooter"}});
    Player(101.0f, 0.0f);
    ASSERT_GT(FramesUntil([&] { return Shots() >= 1; }, 5), 0);
    for (const auto& request : animations) {
        if (request.name == "shoot") {
            EXPECT_FLOAT_EQ(request.speed, 1.0f);
        }
    }
}

// The debug range outline is as wide as the range's diameter, in front of the enemy.
TEST_F(ShooterTest, TheRangeOutlineSpansTheWholeRange) {
    Write({{"Enemy Range", 3}});
    Start({{"s", "Shooter"}});
    int outlines = 0;
    test->recorder->onMessage = [&](const Message& m) {
        if (m.TypeId() != MessageId::SpriteRender) return;
        auto& render = static_cast<const MessageSpriteRender&>(m);
        if (render.sprite.texture != "ProgrammerArt/EnemyShootingRangeDebug") return;
        ++outlines;
        EXPECT_FLOAT_EQ(render.transform.scale.x, 6.0f);
        EXPECT_FLOAT_EQ(render.transform.scale.y, 6.0f);
        EXPECT_NEAR(render.transform.translation.z, 1.1f, 1e-5f);
    };
    test->Frame();
    EXPECT_EQ(outlines, 0);
    Press(*test, 81, true);
    test->Frame();
    EXPECT_EQ(outlines, 1);
    Press(*test, keys::kGrave);
    test->Frame();
    EXPECT_EQ(outlines, 1);
}

TEST(EnemyShootingJson, AngleInDegreesGivesTheDirection) {
    const auto s = json{{"Angle", 90}}.get<ComponentEnemyShooting>();
    EXPECT_NEAR(s.Direction.x, 0.0f, 1e-6f);
    EXPECT_NEAR(s.Direction.y, 1.0f, 1e-6f);
    const json projectile = SystemEnemyShooting::ProjectileJson({1, 2, 3}, s.Angle, {0, 6});
    EXPECT_NEAR(projectile["Transform"]["Rotation"][2].get<double>(), 90.0, 1e-4);
    EXPECT_NEAR(projectile["Transform"]["Translation"][2].get<double>(), 2.99, 1e-6);
    const auto defaults = json::object().get<ComponentEnemyShooting>();
    EXPECT_EQ(defaults.Direction, glm::vec2(1.0f, 0.0f));
    EXPECT_EQ(defaults.SpawnBone, "beaks");
    const json badAngle = {{"Angle", "up"}};
    EXPECT_THROW((void)badAngle.get<ComponentEnemyShooting>(), json::type_error);
}
