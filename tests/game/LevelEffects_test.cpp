#include <gtest/gtest.h>

#include <string_view>

#include "game/Roster.h"
#include "particle/MessageParticlePool.h"
#include "particle/SystemParticlePool.h"
#include "tests/game/GameFixture.h"

namespace {

/// Live particles in the pool named `name`, or -1 when no such pool is loaded.
long LiveParticles(TestEngine& test, std::string_view name) {
    long live = -1;
    const MessageQueryParticlePool::Callback count = [&](EntityId, ComponentParticlePool& pool) {
        live = static_cast<long>(pool.Size());
    };
    test.Send(MessageQueryParticlePool(name, count));
    return live;
}

}  // namespace

// The shipped level, player and arm must agree on effect names with the pools the level loads:
// a jump and a shot each have to put particles on screen.
TEST(LevelEffects, AJumpAndAShotInTheShippedLevelProduceParticles) {
    TempAssets assets;
    for (const char* folder : {"Assets/Data", "Assets/Textures"}) assets.CopyShipped(folder);
    TestEngine test(MakeRoster());
    test.Enter("Level1");
    ASSERT_NE(FindEntity(test, "Player"), 0);
    test.Frames(90);
    for (const char* pool : {"Dust", "Run Dust", "Sparks", "Muzzle Flash"}) {
        EXPECT_EQ(LiveParticles(test, pool), 0) << pool << ": loaded and quiet before any action";
    }

    Press(test, keys::kSpace);
    long dust = 0;
    for (int frame = 0; frame < 20 && dust == 0; ++frame) {
        test.Frame();
        dust = LiveParticles(test, "Dust");
    }
    Release(test, keys::kSpace);
    EXPECT_GT(dust, 0) << "the jump raised no dust";
    test.Frames(120);  // lands and the dust dies out
    EXPECT_EQ(LiveParticles(test, "Sparks"), 0);

    Press(test, MessageKey::kMouseFirst);
    long sparks = 0;
    long flash = 0;
    for (int frame = 0; frame < 20 && (sparks == 0 || flash == 0); ++frame) {
        test.Frame();
        sparks = std::max(sparks, LiveParticles(test, "Sparks"));
        flash = std::max(flash, LiveParticles(test, "Muzzle Flash"));
    }
    Release(test, MessageKey::kMouseFirst);
    EXPECT_GT(sparks, 0) << "the shot threw no sparks";
    EXPECT_GT(flash, 0) << "the shot had no muzzle flash";
}
