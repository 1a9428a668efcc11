#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/MessageTrigger.h"
#include "game/menu/SystemPauseMenu.h"
#include "game/player/SystemPlayerControl.h"
#include "tests/game/GameFixture.h"
#include "tests/support/KeptFields.h"

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

namespace {

struct PauseMenuTest : ::testing::Test {
    void Start(const nlohmann::json& scene) {
        WriteHero(assets, 0.0f);
        assets.Scene("Level", scene);
        test = std::make_unique<TestEngine>(PlayerRoster());
        test->Enter("Level");
        test->recorder->Clear();
    }
    std::vector<Sent> Active() { return test->recorder->Fields(MessageId::UIActiveTrigger); }
    std::vector<Sent> Visible() { return test->recorder->Fields(MessageId::UIVisibleTrigger); }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
};

}  // namespace

TEST_F(PauseMenuTest, TheMenusAreTheOnesTheSceneNames) {
    assets.Entity("Menu", {{"Pause Menu", {{"Menu", "Halt"}, {"Sub Menus", {"Sound", "Quit"}}}}});
    Start({{"hero", "Hero"}, {"menu", "Menu"}});
    Press(*test, keys::kEscape);
    EXPECT_TRUE(test->engine.IsPaused());
    EXPECT_EQ(Active(), (std::vector<Sent>{{"Halt", 1}}));
    EXPECT_EQ(Visible(), (std::vector<Sent>{{"Halt", 1}}));
    EXPECT_EQ(test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Pause", 1}}));

    test->recorder->Clear();
    Press(*test, keys::kEscape);
    EXPECT_FALSE(test->engine.IsPaused());
    EXPECT_EQ(Active(), (std::vector<Sent>{{"Halt", 0}, {"Sound", 0}, {"Quit", 0}}));
    EXPECT_EQ(Visible(), (std::vector<Sent>{{"Halt", 0}, {"Sound", 0}, {"Quit", 0}}));
    // The menu's own triggers come before the pause, the sub-menus after it.
    Texts order;
    for (const auto& record : test->recorder->records) {
        if (record.id != MessageId::Key) order.push_back(record.fields.value_or(Sent{}).name);
    }
    EXPECT_EQ(order, (Texts{"Halt", "Halt", "Pause", "Sound", "Sound", "Quit", "Quit"}));
}

TEST_F(PauseMenuTest, ResumingFromAButtonKeepsEscapeInStep) {
    WritePauseMenu(assets);
    Start({{"hero", "Hero"}, {"pause", "PauseMenu"}});
    Press(*test, keys::kEscape);
    ASSERT_TRUE(test->engine.IsPaused());
    // The menu's "Resume" button sends the trigger itself.
    test->Send(MessageTrigger("Pause", false));
    ASSERT_FALSE(test->engine.IsPaused());
    test->recorder->Clear();
    Press(*test, keys::kEscape);
    EXPECT_TRUE(test->engine.IsPaused());
    EXPECT_EQ(Active(), (std::vector<Sent>{{"Pause Menu", 1}}));
}

TEST_F(PauseMenuTest, ASceneWithoutAPauseMenuIgnoresEscape) {
    Start({{"hero", "Hero"}});
    Press(*test, keys::kEscape);
    EXPECT_FALSE(test->engine.IsPaused());
    EXPECT_EQ(test->recorder->Count(MessageId::UIActiveTrigger), 0);
    EXPECT_EQ(test->recorder->Count(MessageId::Trigger), 0);
    // Repeats and releases of Escape never toggle.
    WritePauseMenu(assets);
    test->Send(MessageCreateEntity("", "PauseMenu", nlohmann::json::object()));
    test->Send(MessageKey(keys::kEscape, MessageKey::kRepeated, 0, false));
    Release(*test, keys::kEscape);
    EXPECT_FALSE(test->engine.IsPaused());
}

TEST_F(PauseMenuTest, TheShippedLevelPausesWithItsFourSubMenus) {
    assets.CopyShipped("Assets/Data");
    assets.CopyShipped("Assets/Textures");
    test = std::make_unique<TestEngine>(PlayerRoster());
    test->Enter("Level1");
    Press(*test, keys::kEscape);
    ASSERT_TRUE(test->engine.IsPaused());
    test->recorder->Clear();
    // The open pause menu's Resume is its way back: Escape presses it.
    Press(*test, keys::kEscape);
    EXPECT_FALSE(test->engine.IsPaused());
    EXPECT_EQ(Active(), (std::vector<Sent>{{"Pause Menu", 0}}));
    // Opened again and left from a sub-menu's question by Escape twice: No, then Resume.
    Press(*test, keys::kEscape);
    Press(*test, 265);  // Up: round to Quit
    Press(*test, 257);  // Enter: "Quit the game?"
    test->recorder->Clear();
    Press(*test, keys::kEscape);
    EXPECT_TRUE(test->engine.IsPaused());
    // The shared dialog's No shows whichever of the two menus the state has.
    EXPECT_EQ(
        Active(),
        (std::vector<Sent>{{"Confirmation Menu", 0}, {"Main Menu Buttons", 1}, {"Pause Menu", 1}}));
    Press(*test, keys::kEscape);
    EXPECT_FALSE(test->engine.IsPaused());
}
