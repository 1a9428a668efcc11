#include <gtest/gtest.h>

#include <filesystem>

#include "game/Roster.h"
#include "game/enemies/SystemEnemyBehavior.h"
#include "game/player/SystemPlayerCollision.h"
#include "particle/MessageParticlePool.h"
#include "particle/SystemParticlePool.h"
#include "tests/game/GameFixture.h"

namespace fs = std::filesystem;
using json = nlohmann::json;

// The shipped level's enemies load with the game's systems, leave the start in peace, and a
// walker hit by the player's bullet bursts into its death effect and is removed.
TEST(LevelEnemies, ShippedEnemiesPatrolAndAShotWalkerBurstsAndGoes) {
    TempAssets assets;
    for (const char* folder : {"Assets/Data", "Assets/Textures"}) {
        assets.CopyShipped(folder);
    }
    TestEngine test(MakeRoster());
    test.Enter("Level1");
    const EntityId player = FindEntity(test, "Player");
    const auto walkers = FindEntities(test, "EnemyWalker");
    const auto shooters = FindEntities(test, "EnemyShooter");
    ASSERT_NE(player, 0);
    ASSERT_GE(walkers.size(), 2u);
    ASSERT_GE(shooters.size(), 1u);

    test.Frames(300);
    ASSERT_TRUE(test.Query<ComponentPlayerCollider>(
        player, [](ComponentPlayerCollider& c) { EXPECT_FALSE(c.hurt) << "the start is safe"; }));
    for (EntityId enemy : walkers) {
        ASSERT_TRUE(test.Query<ComponentEnemyBehavior>(
            enemy, [](ComponentEnemyBehavior& b) { EXPECT_GT(b.WalkSpeed, 0.0f); }));
    }

    glm::vec3 at{0.0f};
    ASSERT_TRUE(test.Query<ComponentTransform>(walkers[0],
                                               [&](ComponentTransform& t) { at = t.translation; }));
    const json shot = {{"Transform", {{"Translation", {at.x - 0.3f, at.y, 0.0f}}}},
                       {"Physics", {{"Velocity", {5, 0, 0}}}}};
    test.Send(MessageCreateEntity("", "BulletPlayer", shot));
    long poof = 0;
    for (int frame = 0; frame < 10 && poof == 0; ++frame) {
        test.Frame();
        const MessageQueryParticlePool::Callback count = [&](EntityId, ComponentParticlePool& p) {
            poof = static_cast<long>(p.Size());
        };
        test.Send(MessageQueryParticlePool("Enemy Poof", count));
    }
    EXPECT_GT(poof, 0) << "the walker's death effect";
    test.Frames(40);
    EXPECT_FALSE(test.Has<ComponentTransform>(walkers[0]));
}
