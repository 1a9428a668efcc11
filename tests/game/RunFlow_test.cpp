#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/KeyCodes.h"
#include "engine/MessageFrame.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/System.h"
#include "game/presentation/MessagePlayTransitionState.h"
#include "game/run/RunRecord.h"
#include "services/ui/SystemUIElement.h"
#include "tests/game/GameFixture.h"

using json = nlohmann::json;

namespace {

constexpr float kStep = 0.05f;

// Loses the level at its first update and touches a checkpoint in the same update, before the
// run clock hears of it.
struct ComponentLoseAtCheckpoint {
    static constexpr std::string_view kName = "Lose At Checkpoint";
};
void from_json(const nlohmann::json&, ComponentLoseAtCheckpoint&) {}
class SystemLoseAtCheckpoint : public System<ComponentLoseAtCheckpoint, SystemLoseAtCheckpoint> {
public:
    bool HandleMessage(const Message& message) override {
        if (message.TypeId() != MessageId::Update || components.empty() || done) {
            return System::HandleMessage(message);
        }
        done = true;
        SendMessage(MessageDestroyState(""));
        SendMessage(MessageChangeState("LoseScreen"));
        SendMessage(MessageTrigger("Checkpoint", true));
        return false;
    }

private:
    bool done = false;
};

// Two levels with a clock each, a menu, a lose screen and a win screen with the time label.
struct RunFlowTest : ::testing::Test {
    RunFlowTest() {
        assets.Entity("Clock", {{"HUD Timer", {{"Time Limit", 100}}}});
        assets.Entity("ShortClock", {{"HUD Timer", {{"Time Limit", 0.5}}}});
        assets.Entity("TimeLabel", {{"UI Element", {{"Text", ""}}},
                                    {"Run Time Label", {{"Prefix", "Run "}}},
                                    {"Transform", json::object()}});
        assets.Scene("MainMenu", json::object());
        assets.Scene("LoseScreen", json::object());
        assets.Scene("LevelA", {{"clock", "Clock"}});
        assets.Scene("LevelB", {{"clock", "ShortClock"}});
        assets.Scene("Win", {{"label", "TimeLabel"}});
        test = std::make_unique<TestEngine>(MakeRoster(0));
    }

    // As a door or a menu button does it.
    void GoTo(const std::string& state) {
        test->Send(MessageDestroyState(""));
        test->Send(MessageChangeState(state));
        test->Frame(kStep);
        ASSERT_EQ(test->states->CurrentState(), state);
    }

    std::string LabelText() {
        const EntityId label = FindEntity(*test, "TimeLabel");
        std::string text = "(no label)";
        EXPECT_TRUE(test->Query<ComponentUIElement>(
            label, [&](ComponentUIElement& element) { text = element.text; }));
        return text;
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
};

}  // namespace

TEST(RunRecord, FormatsMinutesSecondsAndTenths) {
    EXPECT_EQ(RunRecord::FormatTime(0.0f), "0:00.0");
    EXPECT_EQ(RunRecord::FormatTime(222.5f), "3:42.5");
    // Cut, not rounded: the last tenth has not been reached.
    EXPECT_EQ(RunRecord::FormatTime(59.99f), "0:59.9");
    EXPECT_EQ(RunRecord::FormatTime(3723.5f), "1:02:03.5");
    EXPECT_EQ(RunRecord::FormatTime(-3.0f), "0:00.0");
}

TEST_F(RunFlowTest, PlayTimeSumsTheLevelsOfTheRunAndShowsOnTheWinScreen) {
    test->Enter("MainMenu");
    test->Send(MessageTrigger("Run Start", true));
    GoTo("LevelA");
    // The clock waits for the first key; so does the run.
    test->Frames(20, kStep);
    Press(*test, keys::kD);
    test->Frames(20, kStep);
    // A door's exit stops the clock: the fade is not play time. Without a slide to play, the
    // change follows at once.
    test->Send(MessagePlayTransitionState("Win"));
    test->Frames(2, kStep);
    ASSERT_EQ(test->states->CurrentState(), "Win");
    // 20 frames of LevelA (the entering frame came before the key).
    EXPECT_EQ(LabelText(), "Run 0:01.0");

    // The time goes on across states: a second level adds to it.
    GoTo("LevelA");
    Press(*test, keys::kD);
    test->Frames(10, kStep);
    GoTo("Win");
    EXPECT_EQ(LabelText(), "Run 0:01.5");

    // A new run starts from zero.
    GoTo("MainMenu");
    test->Send(MessageTrigger("Run Start", true));
    GoTo("Win");
    EXPECT_EQ(LabelText(), "Run 0:00.0");
}

TEST_F(RunFlowTest, RetryRestartsTheLevelThatWasLostFresh) {
    test->Enter("MainMenu");
    GoTo("LevelA");
    GoTo("LevelB");
    Press(*test, keys::kD);
    // Runs out after half a second and sends the game to the lose screen on its own.
    test->Frames(12, kStep);
    ASSERT_EQ(test->states->CurrentState(), "LoseScreen");
    test->Send(MessageTrigger("Retry Level", true));
    test->Frame(kStep);
    ASSERT_EQ(test->states->CurrentState(), "LevelB");
    // A new state: its clock waits for a key again instead of running out at once.
    test->Frames(20, kStep);
    EXPECT_EQ(test->states->CurrentState(), "LevelB");
    // The lose screen was destroyed on the way, so nothing of the old one is kept.
    EXPECT_FALSE(test->states->HasState("LoseScreen"));
}

// A checkpoint reached in the very update that loses the level is saved as an entered state's
// is; the level must still be the one a retry goes back to.
TEST_F(RunFlowTest, ACheckpointTouchedAsTheLevelIsLostKeepsTheLevel) {
    auto roster = MakeRoster(0);
    roster.insert(roster.begin(), std::make_unique<SystemLoseAtCheckpoint>());
    test = std::make_unique<TestEngine>(std::move(roster));
    assets.Entity("Trap", {{"Lose At Checkpoint", nlohmann::json::object()}});
    assets.Scene("LevelC", {{"clock", "Clock"}, {"trap", "Trap"}});
    test->Enter("MainMenu");
    GoTo("LevelC");
    test->Frame(kStep);
    ASSERT_EQ(test->states->CurrentState(), "LoseScreen");
    test->Send(MessageTrigger("Retry Level", true));
    test->Frame(kStep);
    EXPECT_EQ(test->states->CurrentState(), "LevelC");
}

TEST_F(RunFlowTest, RetryWithoutAPlayedLevelGoesToTheMainMenu) {
    test->Enter("MainMenu");
    GoTo("LoseScreen");
    test->Send(MessageTrigger("Retry Level", true));
    test->Frame(kStep);
    EXPECT_EQ(test->states->CurrentState(), "MainMenu");
}

// The shipped menus wire the same flow: Play starts a run, Try Again restarts the level lost
// and the win screen shows the time.
TEST(RunFlowContent, ShippedMenusStartARunRetryTheLevelAndShowTheTime) {
    TempAssets assets;
    assets.CopyShipped("Assets/Data");
    assets.CopyShipped("Assets/Textures");
    TestEngine test(MakeRoster(0));
    test.Enter("MainMenu");
    // Play has the default focus.
    Press(test, keycode::Enter);
    test.Frame();
    ASSERT_EQ(test.states->CurrentState(), "Level1");
    Press(test, keys::kD);
    Release(test, keys::kD);
    test.Frames(30);
    // Lost, as the countdown or the last life does it.
    test.Send(MessageDestroyState(""));
    test.Send(MessageChangeState("LoseScreen"));
    test.Frame();
    ASSERT_EQ(test.states->CurrentState(), "LoseScreen");
    // "Try Again" has the default focus.
    Press(test, keycode::Enter);
    test.Frame();
    ASSERT_EQ(test.states->CurrentState(), "Level1");

    test.Send(MessageDestroyState(""));
    test.Send(MessageChangeState("WinScreen"));
    test.Frame();
    ASSERT_EQ(test.states->CurrentState(), "WinScreen");
    std::string shown;
    test.Send(MessageQueryContainer<ComponentUIElement>(
        [&](std::unordered_map<EntityId, ComponentUIElement>& elements) {
            for (const auto& [id, element] : elements) {
                if (element.name == "Win Time") shown = element.text;
            }
        }));
    // 30 frames of the first attempt; the retry has not been started with a key.
    EXPECT_EQ(shown, "Time 0:00.5");
}
