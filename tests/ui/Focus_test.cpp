#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "audio/MessageAudio.h"
#include "engine/KeyCodes.h"
#include "engine/MessageId.h"
#include "engine/MessageState.h"
#include "services/graphics/VornGraphics.h"
#include "services/ui/VornUI.h"
#include "tests/support/KeptFields.h"
#include "tests/ui/UITestSupport.h"

using json = nlohmann::json;

namespace {

const glm::vec4 kLit{1.0f, 0.85f, 0.45f, 1.0f};

json Button(const std::string& name, glm::vec2 position, const json& actions,
            const json& extra = json::object()) {
    json element = {{"Name", name}, {"Texture", "UI/" + name}};
    element.merge_patch(extra);
    json entity = Element(element, position);
    entity["Button"] = {{"Actions", actions}};
    return entity;
}

json Backs(json button) {
    button["Button"]["Back"] = true;
    return button;
}

json Fires(const std::string& trigger) {
    return json::array({{{"Type", "Trigger"}, {"Name", trigger}}});
}

// Entity files become entities in the scene's order, so ids follow `names`.
json SceneOf(const std::vector<std::string>& names) {
    json scene = json::object();
    for (std::size_t i = 0; i < names.size(); ++i) {
        scene[std::string(1, static_cast<char>('a' + i))] = names[i];
    }
    return scene;
}

// The names of the focused elements (at most one, if the rule holds).
std::vector<std::string> Focused(UIFixture& ui) {
    std::vector<std::string> names;
    ui.test->Send(MessageQueryContainer<ComponentUIElement>(
        [&](std::unordered_map<EntityId, ComponentUIElement>& all) {
            for (auto& [id, element] : all) {
                if (element.focused) names.push_back(element.name);
            }
        }));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Lit(UIFixture& ui) {
    std::vector<std::string> textures;
    for (const DrawnSprite& d : ui.Draw()) {
        if (d.sprite.color == kLit) textures.push_back(d.sprite.texture);
    }
    return textures;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(Focus, ThePointerAndTheKeysShareOneFocusAndAClickActsWhereThePointerIs) {
    UIFixture ui({{"Play", Button("Play", {0, 2}, Fires("Play"), {{"Default Focus", true}})},
                  {"Help", Button("Help", {0, 0}, Fires("Help"))},
                  {"Quit", Button("Quit", {0, -2}, Fires("Quit"))}},
                 SceneOf({"Play", "Help", "Quit"}));
    // A pointer resting over Help when the menu opens takes nothing: the same menu again,
    // entered with the pointer there.
    ui.MoveCursor({0.0f, 0.0f});
    ui.test->Frame();
    EXPECT_EQ(Focused(ui), Names{"Help"});
    ui.assets.Scene("Again", SceneOf({"Play", "Help", "Quit"}));
    ui.test->Send(MessageChangeState("Again"));
    ui.test->Frame();
    ASSERT_EQ(ui.test->states->CurrentState(), "Again");
    ui.test->recorder->Clear();
    for (int frame = 0; frame < 2; ++frame) {
        ui.MoveCursor({0.0f, 0.0f});
        ui.test->Frame();
    }
    EXPECT_EQ(Focused(ui), Names{"Play"});
    EXPECT_EQ(Lit(ui), Names{"UI/Play"});

    // Moving onto Quit focuses it, and the keys go on from there.
    ui.MoveCursor({0.5f, -2.2f});
    ui.test->Frame();
    EXPECT_EQ(Focused(ui), Names{"Quit"});
    EXPECT_EQ(Lit(ui), Names{"UI/Quit"});
    ui.Key(keycode::Up);
    EXPECT_EQ(Focused(ui), Names{"Help"});
    EXPECT_EQ(Lit(ui), Names{"UI/Help"});  // the pointer still rests on Quit, unlit
    ui.Key(keycode::Enter);
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Help", 1}}));

    // A flick onto Play and a click within the same frame press Play, which then has the focus.
    ui.test->recorder->Clear();
    ui.MoveCursor({-1.0f, 2.0f});
    ui.Key(MessageKey::kMouseFirst, MessageKey::kPressed);
    ui.Key(MessageKey::kMouseFirst, MessageKey::kReleased);
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Play", 1}}));
    EXPECT_EQ(Focused(ui), Names{"Play"});

    // Every step of the focus and every press is heard, on the effects' events.
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::AudioEvent),
              (std::vector<Sent>{{"SFX/UI Press", 0}}));
    ui.test->recorder->Clear();
    ui.Key(keycode::Down);
    ui.Key(keycode::Down);  // Quit, the last: down wraps to the top
    ui.Key(keycode::Down);
    EXPECT_EQ(Focused(ui), Names{"Play"});
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::AudioEvent),
              std::vector<Sent>(3, Sent{"SFX/UI Move"}));
}

TEST(Focus, ArrowsMoveTheWayTheControlsAreLaidOut) {
    json slider = Element({{"Name", "Volume"}, {"Texture", "UI/Track"}}, {0, 3}, {4, 0.3f});
    slider["Slider"] = {{"Bus", "Music"}, {"Step", 0.25}};
    UIFixture ui({{"Volume", slider},
                  {"Top", Button("Top", {0, 1}, Fires("Top"))},
                  {"Yes", Button("Yes", {-2, -1}, Fires("Yes"))},
                  {"No", Button("No", {2, -1}, Fires("No"), {{"Default Focus", true}})}},
                 SceneOf({"Volume", "Top", "Yes", "No"}), {{"Music", 0.5f}});
    EXPECT_EQ(Focused(ui), Names{"No"});
    ui.Key(keycode::Left);
    EXPECT_EQ(Focused(ui), Names{"Yes"});
    ui.Key(keycode::Left);  // nothing further left
    EXPECT_EQ(Focused(ui), Names{"Yes"});
    ui.Key(keycode::D);  // the pad's d-pad sends A and D
    EXPECT_EQ(Focused(ui), Names{"No"});
    ui.Key(keycode::Up);
    EXPECT_EQ(Focused(ui), Names{"Top"});
    ui.Key(keycode::Right);  // No is right, but as far down: not on this row
    EXPECT_EQ(Focused(ui), Names{"Top"});
    ui.Key(keycode::Down);  // both below; the tie goes to the first in reading order
    EXPECT_EQ(Focused(ui), Names{"Yes"});
    // Side by side at the bottom: Down goes round in reading order, so a pad with only up and
    // down still reaches both answers.
    ui.Key(keycode::Down);
    EXPECT_EQ(Focused(ui), Names{"No"});

    // A focused slider keeps Left and Right for its value.
    ui.Key(keycode::Up);
    ui.Key(keycode::Up);
    EXPECT_EQ(Focused(ui), Names{"Volume"});
    ui.Key(keycode::Right);
    ui.Key(keycode::A);
    ui.Key(keycode::A);
    EXPECT_EQ(Focused(ui), Names{"Volume"});
    ASSERT_EQ(ui.buses->sets.size(), 3u);
    EXPECT_FLOAT_EQ(ui.buses->sets.back().second, 0.25f);
}

TEST(Focus, EscapeGoesBackOneStepToTheControlThatOpenedTheMenu) {
    json main = Element({{"Name", "Main"}}, {0, 0}, {1, 1});
    main["Children"] = {"Open", "Other", "Quit"};
    json sub = Element({{"Name", "Sub"}, {"Visible", false}, {"Active", false}}, {0, 0}, {6, 6});
    sub["Children"] = {"Inner", "Close"};
    const json hideSubShowMain = {{{"Type", "Hide"}, {"Element", "Sub"}},
                                  {{"Type", "Show"}, {"Element", "Main"}}};
    UIFixture ui({{"Main", main},
                  {"Open", Button("Open", {0, 1},
                                  {{{"Type", "Hide"}, {"Element", "Main"}},
                                   {{"Type", "Show"}, {"Element", "Sub"}}})},
                  {"Other", Button("Other", {0, 0}, Fires("Other"), {{"Default Focus", true}})},
                  {"Quit", Backs(Button("Quit", {0, -1}, Fires("Quit Asked")))},
                  {"Sub", sub},
                  {"Inner", Button("Inner", {0, 2}, Fires("Inner"), {{"Default Focus", true}})},
                  {"Close", Backs(Button("Close", {0, -2}, hideSubShowMain))}},
                 SceneOf({"Main", "Sub"}));
    ui.Key(keycode::Up);
    ui.Key(keycode::Enter);  // Open
    EXPECT_EQ(Focused(ui), Names{"Inner"});
    ui.test->recorder->Clear();
    EXPECT_TRUE(ui.test->Send(MessageKey(keycode::Escape, MessageKey::kPressed, 0, false)));
    EXPECT_EQ(Focused(ui), Names{"Open"});  // not Other, the menu's default
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::AudioEvent),
              (std::vector<Sent>{{"SFX/UI Back", 0}}));
    // The same after a click, and when the menu is shown before the sub-menu is hidden.
    ui.test->Frame();
    ui.Click({0.0f, 1.0f});
    ui.test->Frame();
    EXPECT_EQ(Focused(ui), Names{"Inner"});
    ui.test->Send(MessageUIVisibleTrigger("Main", true));
    ui.test->Send(MessageUIActiveTrigger("Main", true));
    ui.test->Send(MessageUIActiveTrigger("Sub", false));
    ui.test->Send(MessageUIVisibleTrigger("Sub", false));
    EXPECT_EQ(Focused(ui), Names{"Open"});

    // At the top, Escape presses the menu's own back button (asking to quit).
    ui.test->recorder->Clear();
    EXPECT_TRUE(ui.test->Send(MessageKey(keycode::Escape, MessageKey::kPressed, 0, false)));
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger),
              (std::vector<Sent>{{"Quit Asked", 1}}));
    // With no usable back button Escape is left to others (the pause menu); releases too.
    ui.test->Send(MessageUIActiveTrigger("Main", false));
    EXPECT_FALSE(ui.test->Send(MessageKey(keycode::Escape, MessageKey::kPressed, 0, false)));
    EXPECT_FALSE(ui.test->Send(MessageKey(keycode::Escape, MessageKey::kReleased, 0, false)));
}

TEST(Focus, SlidersShowTheirFillAndValueAndTakeTheFocusWhenDragged) {
    json slider =
        Element({{"Name", "Volume"}, {"Texture", "UI/Track"}, {"Text Color", {0, 1, 0, 1}}}, {0, 0},
                {4, 0.3f});
    slider["Slider"] = {
        {"Bus", "Music"}, {"Knob Texture", "UI/Knob"}, {"Fill Color", {1, 0, 0, 1}}};
    UIFixture ui({{"Volume", slider},
                  {"Other", Button("Other", {0, 2}, Fires("Other"), {{"Default Focus", true}})}},
                 SceneOf({"Volume", "Other"}), {{"Music", 0.7f}});
    std::vector<DrawnSprite> fill;
    int digits = 0;
    for (const DrawnSprite& d : ui.Draw()) {
        if (d.sprite.texture == "UI/Track" && d.sprite.color == glm::vec4(1, 0, 0, 1)) {
            fill.push_back(d);
        }
        if (d.sprite.texture == "Fonts/DejaVuSans" && d.sprite.color == glm::vec4(0, 1, 0, 1)) {
            ++digits;
            EXPECT_GT(d.translation.x, 2.0f);  // right of the track
        }
    }
    // 70 % of a track from -2 to 2: the fill spans -2 to 0.8.
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_NEAR(fill[0].scale.x, 2.8f, 1e-5f);
    EXPECT_NEAR(fill[0].translation.x, -0.6f, 1e-5f);
    EXPECT_FLOAT_EQ(fill[0].translation.z, SystemSlider::kFillDepth);
    EXPECT_EQ(digits, 3);  // "70%"

    // Dragging the knob takes the focus from the button.
    ui.MoveCursor({0.8f, 0.0f});
    ui.test->Frame();
    EXPECT_EQ(Focused(ui), Names{"Volume"});
    ui.Key(keycode::Up);
    ASSERT_EQ(Focused(ui), Names{"Other"});
    ui.Key(MessageKey::kMouseFirst, MessageKey::kPressed);
    EXPECT_EQ(Focused(ui), Names{"Volume"});
    ui.MoveCursor({-2.0f, 0.0f});
    ui.test->Frame();
    ui.Key(MessageKey::kMouseFirst, MessageKey::kReleased);
    EXPECT_EQ(Focused(ui), Names{"Volume"});
    EXPECT_FLOAT_EQ(ui.buses->sets.back().second, 0.0f);
    int drawnFill = 0;
    for (const DrawnSprite& d : ui.Draw()) {
        drawnFill += d.sprite.color == glm::vec4(1, 0, 0, 1) ? 1 : 0;
    }
    EXPECT_EQ(drawnFill, 0);  // nothing to fill at 0 %
}
