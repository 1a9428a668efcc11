#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/MessageAudio.h"
#include "engine/MessageFrame.h"
#include "engine/MessageQuit.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemBase.h"
#include "game/Roster.h"
#include "game/program/GameProgram.h"
#include "game/settings/ManagerSettings.h"
#include "game/settings/Settings.h"
#include "services/ui/MessageUITrigger.h"
#include "services/ui/SystemUIElement.h"
#include "tests/support/KeptFields.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

namespace {

// Sets an environment variable for the test's length and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) previous = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (previous) {
            setenv(name, previous->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name;
    std::optional<std::string> previous;
};

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct SettingsTest : ::testing::Test {
    Settings Read() {
        return ReadSettings(path, [this](const std::string& text) { warnings.push_back(text); });
    }

    TempAssets assets;
    // Every test's files stay in its temporary folder, never in the real home.
    ScopedEnv xdg{"XDG_CONFIG_HOME", assets.Root().c_str()};
    fs::path path = assets.Root() / "halvex" / "settings.json";
    Texts warnings;
};

}  // namespace

TEST_F(SettingsTest, ThePathFollowsTheConfigFolderThenHome) {
    EXPECT_EQ(SettingsPath(), path);
    {
        // A relative config folder is no folder: the home's is used.
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
        ScopedEnv home("HOME", "/home/player");
        EXPECT_EQ(SettingsPath(), fs::path("/home/player/.config/halvex/settings.json"));
        ScopedEnv noHome("HOME", nullptr);
        EXPECT_EQ(SettingsPath(), fs::path());
    }
}

TEST_F(SettingsTest, AMissingFileGivesTheDefaultsQuietlyAndVolumesAreClamped) {
    Settings read = Read();
    EXPECT_EQ(read.musicVolume, 1.0f);
    EXPECT_EQ(read.effectsVolume, 1.0f);
    EXPECT_FALSE(read.fullscreen);
    EXPECT_TRUE(warnings.empty());

    WriteText(path, R"({"Music Volume": 1.7, "Effects Volume": -2, "Fullscreen": true})");
    read = Read();
    EXPECT_EQ(read.musicVolume, 1.0f);
    EXPECT_EQ(read.effectsVolume, 0.0f);
    EXPECT_TRUE(read.fullscreen);
    // Absent keys keep their defaults.
    WriteText(path, R"({"Effects Volume": 0.25})");
    read = Read();
    EXPECT_EQ(read.musicVolume, 1.0f);
    EXPECT_EQ(read.effectsVolume, 0.25f);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(SettingsTest, ABadFileIsIgnoredWithOneWarningNamingIt) {
    const std::vector<std::string> bad = {
        "{ \"Music Volume\": 0.5, ",                           // cut short
        R"({"Music Volume": "loud", "Effects Volume": 0.1})",  // wrong type
        R"({"Fullscreen": 1})",                                // a number is no switch
        "[0.5, 0.5]",                                          // not an object
    };
    for (const std::string& text : bad) {
        warnings.clear();
        WriteText(path, text);
        const Settings read = Read();
        EXPECT_EQ(read.musicVolume, 1.0f) << text;
        EXPECT_EQ(read.effectsVolume, 1.0f) << text;
        ASSERT_EQ(warnings.size(), 1u) << text;
        EXPECT_NE(warnings[0].find(path.string()), std::string::npos) << warnings[0];
    }
    // A folder where the file should be cannot be read either.
    fs::remove(path);
    fs::create_directories(path);
    warnings.clear();
    EXPECT_EQ(Read().musicVolume, 1.0f);
    EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(SettingsTest, ChangesAreSavedAndTheNextStartAppliesThem) {
    {
        auto manager = std::make_unique<ManagerSettings>(SettingsPath());
        std::vector<std::unique_ptr<Manager>> managers;
        managers.push_back(std::move(manager));
        TestEngine test({}, std::move(managers));
        test.Send(MessageInitialize());
        // The defaults are applied but nothing has changed yet.
        EXPECT_FALSE(fs::exists(path));
        test.Send(MessageSetBusVolume("Music", 0.3f));
        test.Send(MessageSetBusVolume("SFX", 0.6f));
        // Kept until the menu closes: a dragged slider writes once.
        EXPECT_FALSE(fs::exists(path));
        test.Send(MessageUIVisibleTrigger("Options Menu", false));
        ASSERT_TRUE(fs::exists(path));
        const std::string saved = ReadText(path);
        test.Send(MessageSetBusVolume("Master", 0.1f));
        test.Send(MessageUIVisibleTrigger("Options Menu", false));
        EXPECT_EQ(ReadText(path), saved) << "another bus is no setting";
        // The display mode is saved as soon as it changes.
        test.Send(MessageTrigger("Fullscreen", true));
        EXPECT_NE(ReadText(path), saved);
        // A change pending when the game ends is not lost.
        test.Send(MessageSetBusVolume("SFX", 0.5f));
    }
    warnings.clear();
    const Settings read = Read();
    EXPECT_TRUE(warnings.empty());
    EXPECT_FLOAT_EQ(read.musicVolume, 0.3f);
    EXPECT_FLOAT_EQ(read.effectsVolume, 0.5f);
    EXPECT_TRUE(read.fullscreen);

    std::vector<std::unique_ptr<Manager>> managers;
    managers.push_back(std::make_unique<ManagerSettings>(SettingsPath()));
    TestEngine test({}, std::move(managers));
    test.Send(MessageInitialize());
    EXPECT_EQ(test.recorder->Fields(MessageId::SetBusVolume),
              (std::vector<Sent>{{"Music", 0.3}, {"SFX", 0.5}}));
    // The display follows once the first state is in play, once.
    EXPECT_EQ(test.recorder->Count(MessageId::Trigger), 0);
    assets.Scene("Menu", nlohmann::json::object());
    test.Enter("Menu");
    test.Frame();
    EXPECT_EQ(test.recorder->Fields(MessageId::Trigger),
              (std::vector<Sent>{{"Checkpoint", 1}, {"Fullscreen", 1}}));
}

// The display button names the mode the game is in, whoever set it and whenever its menu was
// built: here the saved settings, before the menu existed.
TEST_F(SettingsTest, TheDisplayButtonShowsTheModeInEveryMenu) {
    assets.CopyShipped("Assets/Data");
    assets.CopyShipped("Assets/Textures");
    WriteText(path, R"({"Fullscreen": true})");
    std::vector<std::unique_ptr<Manager>> managers;
    managers.push_back(std::make_unique<ManagerSettings>(SettingsPath()));
    TestEngine test(MakeRoster(0), std::move(managers));
    auto shown = [&test] {
        std::string text = "(no display button)";
        test.Send(MessageQueryContainer<ComponentUIElement>(
            [&](std::unordered_map<EntityId, ComponentUIElement>& elements) {
                for (const auto& [id, element] : elements) {
                    if (element.name == "Fullscreen Toggle") text = element.text;
                }
            }));
        return text;
    };
    test.Send(MessageInitialize());
    test.Enter("SplashScreen");
    test.Send(MessageDestroyState(""));
    test.Send(MessageChangeState("MainMenu"));
    test.Frame();
    EXPECT_EQ(shown(), "Full Screen: On");
    // F11 or the button: the window announces the new mode.
    test.Send(MessageTrigger("Fullscreen", false));
    test.Frame();
    EXPECT_EQ(shown(), "Full Screen: Off");
}

TEST_F(SettingsTest, AFolderThatCannotBeWrittenWarnsOnceAndPlayGoesOn) {
    // A file where the folder should be.
    WriteText(assets.Root() / "halvex", "not a folder");
    testing::internal::CaptureStderr();
    {
        std::vector<std::unique_ptr<Manager>> managers;
        managers.push_back(std::make_unique<ManagerSettings>(SettingsPath()));
        TestEngine test({}, std::move(managers));
        test.Send(MessageInitialize());
        test.Send(MessageSetBusVolume("Music", 0.3f));
        test.Send(MessageQuit());
        test.Send(MessageSetBusVolume("Music", 0.4f));
    }
    const std::string errors = testing::internal::GetCapturedStderr();
    const auto first = errors.find(path.string());
    ASSERT_NE(first, std::string::npos) << errors;
    EXPECT_EQ(errors.find(path.string(), first + 1), std::string::npos) << errors;
}

// A replay must run the same for everyone: it neither reads the player's settings nor writes
// them, however they are.
TEST_F(SettingsTest, AReplayLeavesThePlayersSettingsAlone) {
    assets.CopyShipped("Assets/Data");
    assets.CopyShipped("Assets/Banks");
    assets.CopyShipped("Assets/Textures");
    const std::string broken = "{ broken";
    WriteText(path, broken);
    assets.Write("menu.json", R"({"format": "Halvex replay", "version": 1, "start": "MainMenu",
        "expect": "MainMenu", "step": 0.016666668, "seed": 1, "frames": 3, "input": []})");
    std::vector<std::string> args = {"Halvex", "--replay", "menu.json", "--headless"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    const int status = RunGame(static_cast<int>(argv.size()), argv.data());
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 0) << out << errors;
    EXPECT_EQ(errors.find("settings.json"), std::string::npos) << errors;
    EXPECT_EQ(ReadText(path), broken);
}
