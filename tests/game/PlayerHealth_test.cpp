#include <gtest/gtest.h>

#include <optional>

#include "engine/MessageTrigger.h"
#include "game/player/SystemPlayerHealth.h"
#include "tests/game/GameFixture.h"

using json = nlohmann::json;

namespace {

std::optional<int> Health(TestEngine& test) {
    const auto health = test.Get<ComponentPlayerHealth>(FindEntity(test, "Hero"));
    if (!health) return std::nullopt;
    return health->Health;
}

/// Dies once: asks for the checkpoint restore and runs the frame that performs it.
void DieAndReload(TestEngine& test) {
    test.Send(MessageTrigger("Checkpoint", false));
    test.Frame();
}

std::unique_ptr<TestEngine> StartLevel(TempAssets& assets, const json& health) {
    assets.Entity("Hero", {{"Player Health", health}});
    assets.Scene("Level", {{"hero", "Hero"}});
    assets.Scene("Lost", json::object());
    auto test = std::make_unique<TestEngine>(PlayerRoster());
    test->Enter("Level");
    return test;
}

}  // namespace

TEST(PlayerHealth, OneLifeLosesAtTheFirstReload) {
    TempAssets assets;
    auto test = StartLevel(assets, {{"Max Health", 1}, {"Lose State", "Lost"}});
    EXPECT_EQ(Health(*test), 1);
    DieAndReload(*test);
    test->Frame();
    EXPECT_EQ(test->states->CurrentState(), "Lost");
    EXPECT_FALSE(test->states->HasState("Level"));
}

TEST(PlayerHealth, EveryReloadCostsALifeAndTheThirdOfThreeLoses) {
    TempAssets assets;
    auto test = StartLevel(assets, {{"Max Health", 3}, {"Lose State", "Lost"}});
    DieAndReload(*test);
    EXPECT_EQ(Health(*test), 2);
    test->Frame();
    // The lost life is saved with the new checkpoint: the next reload does not give it back.
    DieAndReload(*test);
    EXPECT_EQ(Health(*test), 1);
    EXPECT_EQ(test->states->CurrentState(), "Level");
    DieAndReload(*test);
    test->Frame();
    EXPECT_EQ(test->states->CurrentState(), "Lost");
}

TEST(PlayerHealth, WithoutALoseStatePlayGoesOn) {
    TempAssets assets;
    auto test = StartLevel(assets, {{"Max Health", 1}});
    DieAndReload(*test);
    test->Frame();
    EXPECT_EQ(test->states->CurrentState(), "Level");
    EXPECT_EQ(Health(*test), 0);
}
