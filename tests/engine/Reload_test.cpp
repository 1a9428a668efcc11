#include <gtest/gtest.h>

#include "engine/MessageId.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "engine/SystemTransform.h"
#include "tests/engine/TestSystems.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

int Points(TestEngine& test) {
    int points = -1;
    EXPECT_TRUE(test.Query<ComponentHealth>(1, [&](ComponentHealth& h) { points = h.points; }));
    return points;
}

void PressF5(TestEngine& test, bool debug) {
    test.Send(MessageKey(ManagerState::kReloadKey, MessageKey::kPressed, 0, debug));
    test.Frame();
}

}  // namespace

TEST(Reload, F5InDebugModeRereadsTheFilesAndKeepsTheOldStateWhenTheyBreak) {
    TempAssets assets;
    assets.Entity("Blob", {{"Health", {{"Points", 3}}}});
    assets.Scene("Level", {{"a", "Blob"}});
    TestEngine test(HealthRoster());
    test.Enter("Level");
    ASSERT_TRUE(test.Query<ComponentHealth>(1, [](ComponentHealth& h) { h.points = 1; }));

    assets.Entity("Blob", {{"Health", {{"Points", 5}}}});
    PressF5(test, false);
    EXPECT_EQ(Points(test), 1);  // not in debug mode: nothing happens

    EXPECT_EQ(test.recorder->Count(MessageId::ContentReloaded), 0);

    testing::internal::CaptureStderr();
    PressF5(test, true);
    EXPECT_EQ(test.states->CurrentState(), "Level");
    EXPECT_EQ(Points(test), 5);  // read again and started from the start
    // Renderer and sound runtime re-read their files only after a reload that took.
    EXPECT_EQ(test.recorder->Count(MessageId::ContentReloaded), 1);

    assets.Write("Assets/Data/Entity/Blob.json", "{\"Health\": ");
    PressF5(test, true);
    EXPECT_EQ(test.recorder->Count(MessageId::ContentReloaded), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Points(test), 5);
    EXPECT_NE(said.find("Assets/Data/Entity/Blob.json"), std::string::npos) << said;
    EXPECT_FALSE(test.states->HasState("Level\n(reload)"));

    // The checkpoint follows the reloaded state.
    ASSERT_TRUE(test.Query<ComponentHealth>(1, [](ComponentHealth& h) { h.points = 9; }));
    test.Send(MessageKey(44, MessageKey::kPressed, 0, true));
    test.Frame();
    EXPECT_EQ(Points(test), 5);
}
