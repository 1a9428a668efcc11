#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/MessageTrigger.h"
#include "game/menu/SystemPauseMenu.h"
#include "game/player/SystemPlayerControl.h"
#include "tests/game/GameFixture.h"

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
    Texts Active() { return test->recorder->Traces(MessageId::UIActiveTrigger); }
    Texts Visible() { return test->recorder->Traces(MessageId::UIVisibleTrigger); }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
};

}  // namespace

TEST_F(PauseMenuTest, TheMenusAreTheOnesTheSceneNames) {
    assets.Entity("Menu", {{"Pause Menu", {{"Menu", "Halt"}, {"Sub Menus", {"Sound", "Quit"}}}}});
    Start({{"hero", "Hero"}, {"menu", "Menu"}});
    Press(*test, keys::kEscape);
    EXPECT_TRUE(test->engine.IsPaused());
    EXPECT_EQ(Active(), Texts{"Triggered Halt activity to 1\n"});
    EXPECT_EQ(Visible(), Texts{"Triggered Halt visibility to 1\n"});
    EXPECT_EQ(test->recorder->Traces(MessageId::Trigger), Texts{"Triggered Pause to 1\n"});

    test->recorder->Clear();
    Press(*test, keys::kEscape);
    EXPECT_FALSE(test->engine.IsPaused());
    EXPECT_EQ(Active(), (Texts{"Triggered Halt activity to 0\n", "Triggered Sound activity to 0\n",
                               "Triggered Quit activity to 0\n"}));
    EXPECT_EQ(Visible(),
              (Texts{"Triggered Halt visibility to 0\n", "Triggered Sound visibility to 0\n",
                     "Triggered Quit visibility to 0\n"}));
    // The menu's own triggers come before the pause, the sub-menus after it.
    Texts order;
    for (const auto& record : test->recorder->records) {
        if (record.id != MessageId::Key) order.push_back(record.trace.substr(10, 5));
    }
    EXPECT_EQ(order, (Texts{"Halt ", "Halt ", "Pause", "Sound", "Sound", "Quit ", "Quit "}));
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
    EXPECT_EQ(Active(), Texts{"Triggered Pause Menu activity to 1\n"});
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
    EXPECT_EQ(Active(), (Texts{"Triggered Pause Menu activity to 0\n"}));
    // Opened again and left from a sub-menu's question by Escape twice: No, then Resume.
    Press(*test, keys::kEscape);
    Press(*test, 265);  // Up: round to Quit
    Press(*test, 257);  // Enter: "Quit the game?"
    test->recorder->Clear();
    Press(*test, keys::kEscape);
    EXPECT_TRUE(test->engine.IsPaused());
    // The shared dialog's No shows whichever of the two menus the state has.
    EXPECT_EQ(Active(), (Texts{"Triggered Confirmation Menu activity to 0\n",
                               "Triggered Main Menu Buttons activity to 1\n",
                               "Triggered Pause Menu activity to 1\n"}));
    Press(*test, keys::kEscape);
    EXPECT_FALSE(test->engine.IsPaused());
}
