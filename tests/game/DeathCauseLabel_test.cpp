#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/MessageTrigger.h"
#include "services/ui/SystemUIElement.h"
#include "tests/game/GameFixture.h"

using json = nlohmann::json;

namespace {

constexpr float kStep = 0.125f;  // exact in binary: a quarter of the blink

struct DeathCauseLabelTest : ::testing::Test {
    DeathCauseLabelTest() {
        assets.Entity("Cause", {{"UI Element",
                                 {{"Name", "Cause"}, {"Text", ""}}},  // no text: no font to load
                                {"Transform", json::object()},
                                {"Death Cause Label",
                                 {{"Texts", {{"Killed By Enemy", "Hit by an enemy"}}},
                                  {"Show Time", 1.0},
                                  {"Blink Period", 0.5}}}});
        assets.Scene("Level", {{"cause", "Cause"}});
        test = std::make_unique<TestEngine>(MakeRoster(0));
        test->Enter("Level");
    }

    /// The label's text, or "-" while the element is hidden.
    std::string Text() {
        const EntityId label = FindEntity(*test, "Cause");
        std::string text = "(no label)";
        EXPECT_TRUE(test->Query<ComponentUIElement>(label, [&](ComponentUIElement& element) {
            text = element.visible ? element.text : "-";
        }));
        return text;
    }

    /// The text after each of `count` steps.
    std::vector<std::string> Texts(int count) {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            test->Frame(kStep);
            out.push_back(Text());
        }
        return out;
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
};

const std::string kCause = "Hit by an enemy";

}  // namespace

TEST_F(DeathCauseLabelTest, BlinksTheNamedCauseForItsTimeThenClears) {
    test->Frame(kStep);
    EXPECT_EQ(Text(), "-") << "nothing is shown before a death";

    test->Send(MessageTrigger("Killed By Enemy", true));
    EXPECT_EQ(Texts(9),
              (std::vector<std::string>{kCause, kCause, "-", "-", kCause, kCause, "-", "-", "-"}));

    // A second death starts the blink again from its shown half.
    test->Send(MessageTrigger("Killed By Enemy", true));
    EXPECT_EQ(Texts(1), (std::vector<std::string>{kCause}));
}

TEST_F(DeathCauseLabelTest, CausesWithoutATextAndSwitchedOffTriggersShowNothing) {
    test->Send(MessageTrigger("Killed By Hazard", true));
    test->Send(MessageTrigger("Killed By Enemy", false));
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"-", "-"}));
}
