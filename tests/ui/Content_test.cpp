#include <algorithm>

#include <gtest/gtest.h>

#include "engine/KeyCodes.h"
#include "engine/MessageId.h"
#include "engine/SystemTransform.h"
#include "services/graphics/VornGraphics.h"
#include "services/ui/VornUI.h"
#include "tests/support/KeptFields.h"
#include "tests/ui/UITestSupport.h"

namespace {

// The shipped menus, with the UI systems only (the camera components find no system here).
struct ShippedMenus {
    ShippedMenus() {
        for (const char* folder :
             {"Assets/Data/Entity", "Assets/Data/Scene", "Assets/Textures/Fonts"}) {
            assets.CopyShipped(folder);
        }
        std::vector<std::unique_ptr<SystemBase>> systems;
        systems.push_back(std::make_unique<SystemButton>());
        systems.push_back(std::make_unique<SystemTransform>());
        systems.push_back(std::make_unique<SystemUIElement>());
        systems.push_back(std::make_unique<SystemSlider>());
        auto fake = std::make_unique<FakeBuses>();
        buses = fake.get();
        buses->volumes = {{"Music", 0.8f}, {"SFX", 0.6f}};
        std::vector<std::unique_ptr<Manager>> managers;
        managers.push_back(std::move(fake));
        test = std::make_unique<TestEngine>(std::move(systems), std::move(managers));
    }
    void Key(int key) { test->Send(MessageKey(key, MessageKey::kPressed, 0, false)); }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    FakeBuses* buses = nullptr;
};

}  // namespace

TEST(Content, SplashAdvancesToTheMainMenuWhoseKeysReachOptionsAndQuit) {
    ShippedMenus menus;
    menus.test->Enter("SplashScreen");
    menus.test->Frames(20, 0.125f);
    ASSERT_EQ(menus.test->states->CurrentState(), "MainMenu");
    EXPECT_FALSE(menus.test->states->HasState("SplashScreen"));

    // Play has the focus; two steps down is Options, whose Music slider then has it.
    menus.Key(keycode::Down);
    menus.Key(keycode::Down);
    menus.Key(keycode::Enter);
    menus.Key(keycode::Right);
    ASSERT_EQ(menus.buses->sets.size(), 1u);
    EXPECT_EQ(menus.buses->sets[0].first, "Music");
    EXPECT_NEAR(menus.buses->sets[0].second, 0.9f, 1e-5f);
    // Down to the SFX slider, down to the display switch, down to Back, back to the buttons;
    // Quit is the last one.
    menus.Key(keycode::Down);
    menus.Key(keycode::Right);
    EXPECT_EQ(menus.buses->sets.back().first, "SFX");
    menus.Key(keycode::Down);
    menus.test->recorder->Clear();
    menus.Key(keycode::Enter);
    EXPECT_EQ(menus.test->recorder->Fields(MessageId::Trigger),
              (std::vector<Sent>{{"Toggle Fullscreen", 1}}));
    menus.Key(keycode::Down);
    menus.Key(keycode::Enter);
    menus.test->recorder->Clear();
    // Back gave the focus to Options, which opened the menu; below it Quit asks first.
    menus.Key(keycode::Down);
    menus.Key(keycode::Enter);
    EXPECT_TRUE(menus.test->recorder->Fields(MessageId::Trigger).empty());
    // Escape answers No and lands on Quit again; asked again, Yes is left of No.
    EXPECT_TRUE(menus.test->Send(MessageKey(keycode::Escape, MessageKey::kPressed, 0, false)));
    menus.Key(keycode::Enter);
    menus.Key(keycode::Left);
    menus.Key(keycode::Enter);
    EXPECT_EQ(menus.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Exit", 1}}));
}

TEST(Content, EscapeInTheMainMenuAsksToQuitAndEveryMenuGoesBackToItsOpener) {
    ShippedMenus menus;
    menus.test->Enter("MainMenu");
    auto escape = [&] {
        return menus.test->Send(MessageKey(keycode::Escape, MessageKey::kPressed, 0, false));
    };
    auto focused = [&] {
        std::string name;
        menus.test->Send(MessageQueryContainer<ComponentUIElement>(
            [&](std::unordered_map<EntityId, ComponentUIElement>& all) {
                for (auto& [id, element] : all) {
                    if (element.focused) name += element.name + ";";
                }
            }));
        return name;
    };
    auto shown = [&](const std::string& menu) {
        bool visible = false;
        menus.test->Send(MessageQueryContainer<ComponentUIElement>(
            [&](std::unordered_map<EntityId, ComponentUIElement>& all) {
                for (auto& [id, element] : all) {
                    if (element.name == menu) visible = element.shown;
                }
            }));
        return visible;
    };
    EXPECT_TRUE(escape());
    EXPECT_TRUE(shown("Confirmation Menu"));
    EXPECT_FALSE(shown("Main Menu Buttons"));
    EXPECT_EQ(focused(), "Confirm No;");
    EXPECT_TRUE(escape());
    EXPECT_EQ(focused(), "Quit;");
    EXPECT_FALSE(shown("Confirmation Menu"));
    for (const char* opener : {"How To Play", "Options"}) {
        for (int i = 0; i < 8 && focused() != std::string(opener) + ";"; ++i) menus.Key(265);
        menus.Key(keycode::Enter);
        EXPECT_FALSE(shown("Main Menu Buttons")) << opener;
        EXPECT_TRUE(escape());
        EXPECT_EQ(focused(), std::string(opener) + ";");
    }
}

TEST(Content, PauseMenuElementsOpenByTheNamesTheGameUses) {
    ShippedMenus menus;
    menus.assets.Scene("Level", {{"a", "UIPauseMenu"},
                                 {"b", "UIOptionsMenu"},
                                 {"c", "UIHowToPlayMenu"},
                                 {"d", "UIReturnToMenuPanel"},
                                 {"e", "UIConfirmationMenu"}});
    menus.test->Enter("Level");
    std::vector<std::string> named;
    menus.test->Send(MessageQueryContainer<ComponentUIElement>(
        [&](std::unordered_map<EntityId, ComponentUIElement>& all) {
            for (auto& [id, element] : all) {
                if (!element.name.empty()) named.push_back(element.name);
                EXPECT_FALSE(element.shown) << element.name;  // all start hidden
            }
        }));
    for (const char* name : {"Pause Menu", "Options Menu", "How To Play Menu",
                             "Return To Menu Panel", "Confirmation Menu"}) {
        EXPECT_NE(std::find(named.begin(), named.end(), name), named.end()) << name;
    }
    // Escape's two triggers open the pause menu with Resume focused; Enter resumes.
    menus.test->Send(MessageUIActiveTrigger("Pause Menu", true));
    menus.test->Send(MessageUIVisibleTrigger("Pause Menu", true));
    menus.test->recorder->Clear();
    menus.Key(keycode::Enter);
    EXPECT_EQ(menus.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Pause", 0}}));
    // Quit asks first; its Yes sends "Exit".
    menus.test->Send(MessageUIActiveTrigger("Pause Menu", true));
    menus.test->Send(MessageUIVisibleTrigger("Pause Menu", true));
    for (int i = 0; i < 4; ++i) menus.Key(keycode::Down);
    menus.Key(keycode::Enter);  // Quit
    menus.test->recorder->Clear();
    menus.Key(keycode::Down);  // from No (default) to Yes
    menus.Key(keycode::Enter);
    EXPECT_EQ(menus.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Exit", 1}}));

    // Escape in a sub-menu goes back to the pause menu, on the button that opened it; in the
    // pause menu it resumes.
    menus.test->Send(MessageUIActiveTrigger("Confirmation Menu", false));
    menus.test->Send(MessageUIVisibleTrigger("Confirmation Menu", false));
    menus.test->Frame();
    menus.test->Send(MessageUIActiveTrigger("Pause Menu", true));
    menus.test->Send(MessageUIVisibleTrigger("Pause Menu", true));
    menus.Key(keycode::Down);
    menus.Key(keycode::Enter);  // Options
    menus.test->recorder->Clear();
    EXPECT_TRUE(menus.test->Send(MessageKey(keycode::Escape, MessageKey::kPressed, 0, false)));
    EXPECT_TRUE(menus.test->recorder->Fields(MessageId::Trigger).empty());
    bool optionsFocused = false;
    menus.test->Send(MessageQueryContainer<ComponentUIElement>(
        [&](std::unordered_map<EntityId, ComponentUIElement>& all) {
            for (auto& [id, element] : all) {
                if (element.focused) optionsFocused = element.name == "Pause Options";
            }
        }));
    EXPECT_TRUE(optionsFocused);
    EXPECT_TRUE(menus.test->Send(MessageKey(keycode::Escape, MessageKey::kPressed, 0, false)));
    EXPECT_EQ(menus.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Pause", 0}}));
}
