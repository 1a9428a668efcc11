#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "engine/MessageContentError.h"
#include "engine/MessageId.h"
#include "engine/MessageState.h"
#include "engine/SystemTransform.h"
#include "game/menu/SystemContentErrorLabel.h"
#include "services/ui/VornUI.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

// A menu, a level whose player file is broken, and an error screen with a label and two
// buttons, run by the UI systems and the error label.
struct ErrorScreen {
    ErrorScreen() {
        assets.CopyShipped("Assets/Textures/Fonts");
        assets.Entity("Button", {{"UI Element", {{"Name", "Go"}}}});
        assets.Scene("Menu", {{"a", "Button"}});
        assets.Write("Assets/Data/Entity/Player.json",
                     "{ \"Transform\": { \"Scale\": [1, 2, 3] }, ");
        assets.Scene("Level", {{"player", "Player"}});
        assets.Entity("Message", {{"UI Element", {{"Name", "Error Text"}, {"Text", "?"}}},
                                  {"Content Error Label", {{"Line Length", 30}}}});
        assets.Entity("Quit",
                      {{"UI Element", {{"Name", "Quit"}}},
                       {"Button", {{"Actions", {{{"Type", "Trigger"}, {"Name", "Exit"}}}}}}});
        assets.Scene("ErrorScreen", {{"a", "Message"}, {"b", "Quit"}});
        std::vector<std::unique_ptr<SystemBase>> systems;
        systems.push_back(std::make_unique<SystemButton>());
        systems.push_back(std::make_unique<SystemTransform>());
        systems.push_back(std::make_unique<SystemContentErrorLabel>());
        systems.push_back(std::make_unique<SystemUIElement>());
        test = std::make_unique<TestEngine>(std::move(systems));
        test->states->SetErrorState("ErrorScreen");
        test->Enter("Menu");
    }
    std::string Label() {
        std::string text;
        EXPECT_TRUE(test->Query<ComponentUIElement>(
            1, [&](ComponentUIElement& element) { text = element.text; }));
        return text;
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
};

std::string Unwrapped(std::string text) {
    std::string out;
    for (char c : text) {
        if (c != '\n') out.push_back(c);
    }
    return out;
}

}  // namespace

TEST(ErrorScreen, ABrokenLevelFileShowsWhatFailedWithTheFullPathInsteadOfEnding) {
    ErrorScreen screen;
    const std::string path =
        (std::filesystem::current_path() / "Assets/Data/Entity/Player.json").string();
    testing::internal::CaptureStderr();
    screen.test->Send(MessageChangeState("Level"));
    screen.test->Frame();
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(screen.test->states->CurrentState(), "ErrorScreen");
    EXPECT_FALSE(screen.test->states->HasState("Level"));

    // One line on the error output, and the same text in the window.
    const auto traces = screen.test->recorder->Traces(MessageId::ContentError);
    ASSERT_EQ(traces.size(), 1u);
    const std::string failure = traces[0].substr(std::string("Content error: ").size());
    EXPECT_EQ(errors, "Halvex: error: " + failure + "\n");
    EXPECT_EQ(failure.rfind("state \"Level\" failed to load: " + path + ":", 0), 0u) << failure;
    screen.test->Frame();
    const std::string label = screen.Label();
    // Only line breaks are added, at spaces (which they replace) or after slashes.
    std::string spaced = failure;
    std::string broken = label;
    for (std::string* text : {&spaced, &broken}) {
        text->erase(std::remove_if(text->begin(), text->end(),
                                   [](char c) { return c == ' ' || c == '\n'; }),
                    text->end());
    }
    EXPECT_EQ(broken, spaced);
    for (std::size_t start = 0; start < label.size();) {
        const std::size_t end = std::min(label.find('\n', start), label.size());
        EXPECT_LE(end - start, 30u) << label;
        start = end + 1;
    }
    EXPECT_NE(Unwrapped(label).find("Player.json"), std::string::npos) << label;

    // Fixed on disk, the level loads the next time it is asked for.
    screen.assets.Entity("Player", {{"Transform", json::object()}});
    screen.test->Send(MessageChangeState("Level"));
    screen.test->Frame();
    EXPECT_EQ(screen.test->states->CurrentState(), "Level");
}

TEST(ErrorScreen, TheJsonPointerOfABadValueIsNamedAndAnErrorScreenThatFailsToLoadEndsTheGame) {
    ErrorScreen screen;
    screen.assets.Entity("Player", {{"Transform", {{"Scale", {1, "two", 3}}}}});
    testing::internal::CaptureStderr();
    screen.test->Send(MessageChangeState("Level"));
    screen.test->Frame();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("Player.json: \"Transform\": "), std::string::npos) << errors;
    EXPECT_NE(errors.find("/Scale/1"), std::string::npos) << errors;

    screen.assets.Write("Assets/Data/Scene/ErrorScreen.json", "{");
    screen.test->Send(MessageDestroyState("ErrorScreen"));
    screen.test->Send(MessageChangeState("Menu"));
    screen.test->Frame();
    screen.test->Send(MessageChangeState("Level"));
    testing::internal::CaptureStderr();
    EXPECT_THROW(screen.test->Frame(), DataError);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("failed to load"), std::string::npos);
}

TEST(ErrorScreen, LongLinesBreakAfterSpacesOrSlashes) {
    EXPECT_EQ(WrapLines("short", 10), "short");
    EXPECT_EQ(WrapLines("a failed: /home/someone/x.json", 12),
              "a failed:\n/home/\nsomeone/\nx.json");
    // No break point in reach: cut at the limit.
    EXPECT_EQ(WrapLines("abcdefghijkl", 8), "abcdefgh\nijkl");
}
