#include <algorithm>

#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "engine/KeyCodes.h"
#include "engine/MessageId.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "services/graphics/VornGraphics.h"
#include "services/ui/VornUI.h"
#include "tests/support/KeptFields.h"
#include "tests/ui/UITestSupport.h"

using json = nlohmann::json;

namespace {

bool Drawn(const std::vector<DrawnSprite>& sprites, const std::string& texture) {
    return std::any_of(sprites.begin(), sprites.end(),
                       [&](const DrawnSprite& d) { return d.sprite.texture == texture; });
}

json TriggerButton(const std::string& name, glm::vec2 position,
                   const json& extra = json::object()) {
    json element = {{"Name", name}, {"Texture", "UI/" + name}};
    element.merge_patch(extra);
    json entity = Element(element, position);
    entity["Button"] = {{"Actions", {{{"Type", "Trigger"}, {"Name", name}}}}};
    return entity;
}

}  // namespace

TEST(UIElement, HiddenOrInactiveElementsHideAndDisableWhatBelongsToThem) {
    json pause = Element({{"Name", "Pause Menu"}, {"Texture", "UI/Panel"}}, {0, 0}, {6, 6});
    pause["Children"] = {"Resume", "Sub"};
    json resume = Element({{"Name", "Resume"}, {"Texture", "UI/Button"}}, {0, 1});
    resume["Button"] = {{"Actions",
                         {{{"Type", "Trigger"}, {"Name", "Pause"}, {"Value", false}},
                          {{"Type", "Hide"}, {"Element", "Pause Menu"}}}}};
    json sub =
        Element({{"Name", "Options Menu"}, {"Texture", "UI/Options"}, {"Visible", false}}, {0, -1});
    sub["Children"] = {"Deep"};
    UIFixture ui({{"Pause", pause},
                  {"Resume", resume},
                  {"Sub", sub},
                  {"Deep", TriggerButton("Deep", {0, -2})}},
                 {{"a", "Pause"}});

    auto sprites = ui.Draw();
    EXPECT_TRUE(Drawn(sprites, "UI/Panel"));
    EXPECT_TRUE(Drawn(sprites, "UI/Button"));
    EXPECT_FALSE(Drawn(sprites, "UI/Options"));
    EXPECT_FALSE(Drawn(sprites, "UI/Deep"));  // its parent is hidden
    EXPECT_EQ(sprites.front().sprite.camera, "UI");

    ui.test->Send(MessageUIVisibleTrigger("Options Menu", true));
    EXPECT_TRUE(Drawn(ui.Draw(), "UI/Deep"));
    ui.test->Send(MessageUIVisibleTrigger("Pause Menu", false));
    EXPECT_TRUE(ui.Draw().empty());
    EXPECT_FALSE(ui.Get<ComponentUIElement>(4).value().shown);
    // A hidden button does not take clicks.
    ui.Click({0, -2});
    EXPECT_EQ(ui.test->recorder->Count(MessageId::Trigger), 0);

    ui.test->Send(MessageUIVisibleTrigger("Pause Menu", true));
    ui.test->Send(MessageUIActiveTrigger("Pause Menu", false));
    EXPECT_TRUE(Drawn(ui.Draw(), "UI/Deep"));  // inactive is still drawn
    ui.Click({0, 1});
    ui.Click({0, -2});
    EXPECT_EQ(ui.test->recorder->Count(MessageId::Trigger), 0);
    EXPECT_FALSE(ui.Get<ComponentUIElement>(4).value().enabled);

    ui.test->Send(MessageUIActiveTrigger("Pause Menu", true));
    ui.test->recorder->Clear();
    ui.Click({0, 1});
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Pause", 0}}));
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::UIVisibleTrigger),
              (std::vector<Sent>{{"Pause Menu", 0}}));
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::UIActiveTrigger),
              (std::vector<Sent>{{"Pause Menu", 0}}));
    EXPECT_TRUE(ui.Draw().empty());
}

TEST(UIElement, ArrowsAndWSMoveTheFocusInOrderOverUsableButtons) {
    auto at = [](const std::string& name, float y, const json& extra = json::object()) {
        json entry = {{"Btn",
                       {{"UI Element", {{"Name", name}, {"Texture", "UI/" + name}}},
                        {"Transform", {{"Translation", {0, y, 0}}}},
                        {"Button", {{"Actions", {{{"Type", "Trigger"}, {"Name", name}}}}}}}}};
        entry["Btn"]["UI Element"].merge_patch(extra);
        return entry;
    };
    UIFixture ui({{"Btn", TriggerButton("Btn", {0, 0})}},
                 {{"a", at("Top", 1)},
                  {"b", at("Middle", 0)},
                  {"c", at("Bottom", -1)},
                  {"d", at("Hidden", -2, {{"Visible", false}})},
                  {"e", at("First", -3, {{"Focus Order", -1}})}});
    auto focused = [&]() {
        for (int id = 1; id <= 5; ++id) {
            const auto element = ui.Get<ComponentUIElement>(id);
            if (!element) return std::string("missing");
            if (element->focused) return element->name;
        }
        return std::string("none");
    };
    EXPECT_EQ(focused(), "none");
    ui.Key(keycode::Enter);
    EXPECT_EQ(ui.test->recorder->Count(MessageId::Trigger), 0);

    ui.Key(keycode::Down);
    EXPECT_EQ(focused(), "First");  // the order key before position
    ui.Key(keycode::Down);
    EXPECT_EQ(focused(), "Top");
    ui.Key(keycode::S, 2);  // repeats move too
    EXPECT_EQ(focused(), "Middle");
    ui.Key(keycode::S, 0);  // releases do not
    EXPECT_EQ(focused(), "Middle");
    ui.Key(keycode::Up);
    ui.Key(keycode::W);
    EXPECT_EQ(focused(), "First");
    ui.Key(keycode::Up);
    EXPECT_EQ(focused(), "Bottom");  // wraps, skipping the hidden one
    ui.Key(keycode::Enter);
    ui.Key(keycode::Space);
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger),
              (std::vector<Sent>{{"Bottom", 1}, {"Bottom", 1}}));
    // The focused element hidden: focus is gone, Enter does nothing.
    ui.test->Send(MessageUIVisibleTrigger("Bottom", false));
    EXPECT_EQ(focused(), "none");
    ui.Key(keycode::Enter);
    EXPECT_EQ(ui.test->recorder->Count(MessageId::Trigger), 2);
    // The focus is highlighted.
    ui.Key(keycode::Down);
    for (const DrawnSprite& d : ui.Draw()) {
        if (d.sprite.texture == "UI/First") {
            EXPECT_EQ(d.sprite.color.b, 0.45f);
        } else if (d.sprite.texture == "UI/Top") {
            EXPECT_EQ(d.sprite.color.b, 1.0f);
        }
    }
}

TEST(UIElement, DefaultFocusTakesOverWhenItsMenuOpens) {
    json menu = Element({{"Name", "Options Menu"}, {"Visible", false}}, {0, 0}, {5, 5});
    menu["Children"] = {"Back"};
    UIFixture ui({{"Menu", menu},
                  {"Play", TriggerButton("Play", {0, 3}, {{"Default Focus", true}})},
                  {"Back", TriggerButton("Back", {0, 0}, {{"Default Focus", true}})}},
                 {{"a", "Play"}, {"b", "Menu"}});
    EXPECT_TRUE(ui.Get<ComponentUIElement>(1).value().focused);
    ui.test->Send(MessageUIVisibleTrigger("Options Menu", true));
    ui.test->Send(MessageUIActiveTrigger("Play", false));
    EXPECT_TRUE(ui.Get<ComponentUIElement>(3).value().focused);
    ui.Key(keycode::Space);
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Back", 1}}));
}

TEST(Button, MouseClicksPressTheTopmostButtonUnderTheCursorOnRelease) {
    json low = TriggerButton("Low", {0, 0});
    json high = TriggerButton("High", {1, 0});
    high["Transform"]["Translation"] = {1, 0, 0.5};
    UIFixture ui({{"Low", low}, {"High", high}}, {{"a", "Low"}, {"b", "High"}});

    ui.Click({-0.9f, 0.4f});  // only Low (spans -1..1) is here
    ui.Click({0.5f, 0.0f});   // both: High is in front
    ui.Click({3.0f, 0.0f});   // nothing
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger),
              (std::vector<Sent>{{"Low", 1}, {"High", 1}}));

    // Pressed on one, released elsewhere: nothing.
    ui.MoveCursor({-0.9f, 0.0f});
    ui.test->Frame();
    ui.Key(MessageKey::kMouseFirst, MessageKey::kPressed);
    EXPECT_TRUE(ui.Get<ComponentUIElement>(1).value().hovered);
    ui.test->Frame();
    EXPECT_TRUE(ui.Get<ComponentUIElement>(1).value().pressed);
    ui.MoveCursor({-5.0f, 0.0f});
    ui.Key(MessageKey::kMouseFirst, MessageKey::kReleased);
    // The second button does not click.
    ui.MoveCursor({-0.9f, 0.0f});
    ui.Key(MessageKey::kMouseSecond, MessageKey::kPressed);
    ui.Key(MessageKey::kMouseSecond, MessageKey::kReleased);
    EXPECT_EQ(ui.test->recorder->Count(MessageId::Trigger), 2);
}

TEST(Button, ActionsChangeStatesFireTriggersAndShowElements) {
    json go = Element({{"Name", "Go"}}, {0, 0});
    go["Button"] = {{"Actions",
                     {{{"Type", "Set Visible"}, {"Element", "Panel"}, {"Value", false}},
                      {{"Type", "Set Active"}, {"Element", "Panel"}, {"Value", true}},
                      {{"Type", "Show"}, {"Element", "Other"}},
                      {{"Type", "Trigger"}, {"Name", "Exit"}},
                      {{"Type", "Change State"}, {"State", "Next"}}}}};
    json keep = Element({{"Name", "Keep"}}, {0, 3});
    keep["Button"] = {
        {"Actions", {{{"Type", "Change State"}, {"State", "Next"}, {"Destroy Current", false}}}}};
    UIFixture ui({{"Go", go}, {"Keep", keep}}, {{"a", "Go"}, {"b", "Keep"}});
    ui.assets.Scene("Next", json::object());

    ui.Click({0, 3});
    ui.test->Frame();
    EXPECT_EQ(ui.test->states->CurrentState(), "Next");
    EXPECT_TRUE(ui.test->states->HasState("Menu"));  // kept
    ui.test->Send(MessageChangeState("Menu"));
    ui.test->Frame();
    ui.test->recorder->Clear();

    ui.Click({0, 0});
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::UIVisibleTrigger),
              (std::vector<Sent>{{"Panel", 0}, {"Other", 1}}));
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::UIActiveTrigger),
              (std::vector<Sent>{{"Panel", 1}, {"Other", 1}}));
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Exit", 1}}));
    ui.test->Frame();
    EXPECT_EQ(ui.test->states->CurrentState(), "Next");
    EXPECT_FALSE(ui.test->states->HasState("Menu"));  // destroyed on the way
}

TEST(UIElement, LabelsDrawOneCellPerGlyphAdvancingByWidth) {
    json label = Element({{"Text", "Hi\nA b"}, {"Text Size", 1.0}, {"Text Color", {1, 0, 0, 1}}},
                         {0, 0}, {4, 2});
    json left = Element({{"Text", "\x01"}, {"Text Align", "Left"}}, {0, 5}, {4, 2});
    UIFixture ui({{"Label", label}, {"Left", left}}, {{"a", "Label"}, {"b", "Left"}});
    std::vector<DrawnSprite> glyphs = ui.Draw();
    ASSERT_EQ(glyphs.size(), 5u);  // no panel textures; the blank is skipped
    std::sort(glyphs.begin(), glyphs.end(), [](const DrawnSprite& a, const DrawnSprite& b) {
        return a.translation.y != b.translation.y ? a.translation.y > b.translation.y
                                                  : a.translation.x < b.translation.x;
    });
    // Unknown characters use the '?' cell; left aligned from the rectangle's edge.
    EXPECT_EQ(glyphs[0].sprite.index, glm::ivec2(15, 1));
    EXPECT_FLOAT_EQ(glyphs[0].translation.x, -2.0f + 0.25f);
    const std::vector<glm::ivec2> cells = {{8, 2}, {9, 4}, {1, 2}, {2, 4}};
    const std::vector<glm::vec2> centres = {
        {0.0f, 0.5f}, {0.5f, 0.5f}, {-0.25f, -0.5f}, {0.75f, -0.5f}};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const DrawnSprite& g = glyphs[i + 1];
        EXPECT_EQ(g.sprite.index, cells[i]) << i;
        EXPECT_FLOAT_EQ(g.translation.x, centres[i].x) << i;
        EXPECT_FLOAT_EQ(g.translation.y, centres[i].y) << i;
        EXPECT_FLOAT_EQ(g.translation.z, SystemUIElement::kTextDepth);
        EXPECT_EQ(g.scale, glm::vec3(1.0f));
        EXPECT_EQ(g.sprite.texture, "Fonts/DejaVuSans");
        EXPECT_EQ(g.sprite.dimensions, glm::vec2(16, 6));
        EXPECT_EQ(g.sprite.color, glm::vec4(1, 0, 0, 1));
    }
}

TEST(UIElement, BadMenuDataNamesTheFile) {
    const std::vector<std::pair<json, std::string>> cases = {
        {{{"Button", {{"Actions", {{{"Type", "Teleport"}}}}}}}, "Teleport"},
        {{{"Button", {{"Actions", {{{"Type", "Trigger"}}}}}}}, "Name"},
        {{{"Button", {{"Actions", "Exit"}}}}, "Actions"},
        {{{"UI Element", {{"Text", "x"}, {"Font", "Missing"}}}}, "Fonts/Missing.json"},
        {{{"UI Element", {{"Text Align", "Middle"}}}}, "Text Align"},
        {{{"Slider", {{"Min", 1}, {"Max", 0}}}}, "Max"},
        {{{"Slider", {{"Step", 0}}}}, "Step"},
    };
    for (const auto& [entity, needle] : cases) {
        try {
            UIFixture ui({{"Broken", entity}}, {{"a", "Broken"}});
            ADD_FAILURE() << "loaded: " << entity.dump();
        } catch (const DataError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(needle), std::string::npos) << what;
            if (needle != "Fonts/Missing.json") {
                EXPECT_NE(what.find("Broken.json"), std::string::npos) << what;
            }
        }
    }
}

TEST(Button, SplashButtonsPressOnceOnAnyKeyOrAfterTheirTime) {
    json timed = {
        {"Button", {{"Press After", 2.0}, {"Actions", {{{"Type", "Trigger"}, {"Name", "Late"}}}}}}};
    json keyed = {
        {"Button", {{"Any Key", true}, {"Actions", {{{"Type", "Trigger"}, {"Name", "Key"}}}}}}};
    UIFixture ui({{"Timed", timed}, {"Keyed", keyed}}, {{"a", "Timed"}, {"b", "Keyed"}});
    ui.test->Frames(15, 0.125f);  // 1.875 s
    ui.test->Frames(30, 0.0f);    // paused time does not count
    EXPECT_EQ(ui.test->recorder->Count(MessageId::Trigger), 0);
    ui.Key(MessageKey::kMouseSecond, MessageKey::kReleased);
    EXPECT_EQ(ui.test->recorder->Count(MessageId::Trigger), 0);
    ui.Key(MessageKey::kMouseSecond, MessageKey::kPressed);
    ui.Key(65, MessageKey::kPressed);
    ui.test->Frames(20, 0.125f);
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger),
              (std::vector<Sent>{{"Key", 1}, {"Late", 1}}));
}

TEST(Button, TheButtonTheCursorEntersTakesTheFocus) {
    UIFixture ui({{"A", TriggerButton("A", {0, 2}, {{"Default Focus", true}})},
                  {"B", TriggerButton("B", {0, 0})}},
                 {{"a", "A"}, {"b", "B"}});
    EXPECT_TRUE(ui.Get<ComponentUIElement>(1).value().focused);
    ui.MoveCursor({0.5f, 0.2f});
    ui.test->Frame();
    EXPECT_FALSE(ui.Get<ComponentUIElement>(1).value().focused);
    EXPECT_TRUE(ui.Get<ComponentUIElement>(2).value().focused);
    // The keyboard may move on while the cursor rests on B.
    ui.Key(264);
    ui.test->Frames(3);
    EXPECT_TRUE(ui.Get<ComponentUIElement>(1).value().focused);
    ui.Key(257);
    EXPECT_EQ(ui.test->recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"A", 1}}));
    // B coming back under the resting mouse takes nothing.
    ui.test->Send(MessageUIVisibleTrigger("B", false));
    ui.test->Frame();
    ui.test->Send(MessageUIVisibleTrigger("B", true));
    ui.test->Frames(2);
    EXPECT_TRUE(ui.Get<ComponentUIElement>(1).value().focused);
    EXPECT_TRUE(ui.Get<ComponentUIElement>(2).value().hovered);
}
