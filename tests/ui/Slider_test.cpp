#include <gtest/gtest.h>

#include "engine/KeyCodes.h"
#include "engine/MessageId.h"
#include "services/graphics/VornGraphics.h"
#include "services/ui/VornUI.h"
#include "tests/ui/UITestSupport.h"

using json = nlohmann::json;

namespace {

// A track from x = -2 to 2 at y = 0 over bus "Music" with steps of 0.25.
json MusicSlider(const json& extra = json::object()) {
    json slider = Element({{"Name", "Music Slider"}, {"Texture", "UI/Track"}}, {0, 0}, {4, 0.5});
    slider["Slider"] = {{"Bus", "Music"}, {"Step", 0.25}, {"Knob Texture", "UI/Knob"}};
    slider["Slider"].merge_patch(extra);
    return slider;
}

float KnobX(UIFixture& ui) {
    for (const DrawnSprite& d : ui.Draw()) {
        if (d.sprite.texture == "UI/Knob") {
            EXPECT_FLOAT_EQ(d.translation.z, SystemSlider::kKnobDepth);
            return d.translation.x;
        }
    }
    ADD_FAILURE() << "no knob drawn";
    return 0.0f;
}

}  // namespace

TEST(Slider, StartsFromTheBusAndStepsWithTheKeysWhileFocused) {
    UIFixture ui({{"Music", MusicSlider()}}, {{"a", "Music"}}, {{"Music", 0.5f}});
    EXPECT_FLOAT_EQ(ui.Get<ComponentSlider>(1).value().value, 0.5f);
    EXPECT_FLOAT_EQ(KnobX(ui), 0.0f);
    EXPECT_TRUE(ui.buses->sets.empty());  // reading the bus does not write it back

    ui.Key(keycode::Right);  // not focused yet
    EXPECT_TRUE(ui.buses->sets.empty());
    ui.Key(keycode::Down);
    ui.Key(keycode::Right);
    ui.Key(keycode::D, 2);   // repeats step too
    ui.Key(keycode::Right);  // already at the top
    ui.Key(keycode::A, 0);   // releases do not
    ui.Key(keycode::Left);
    using Set = std::pair<std::string, float>;
    EXPECT_EQ(ui.buses->sets,
              (std::vector<Set>{{"Music", 0.75f}, {"Music", 1.0f}, {"Music", 0.75f}}));
    EXPECT_FLOAT_EQ(KnobX(ui), 1.0f);

    // Hidden, it neither draws nor reacts.
    ui.test->Send(MessageUIVisibleTrigger("Music Slider", false));
    ui.Key(keycode::Left);
    EXPECT_EQ(ui.buses->sets.size(), 3u);
    for (const DrawnSprite& d : ui.Draw()) EXPECT_NE(d.sprite.texture, "UI/Knob");
}

TEST(Slider, FollowsTheMouseAfterAPressOnItUntilRelease) {
    UIFixture ui({{"Music", MusicSlider({{"Min", 0.0}, {"Max", 2.0}})}}, {{"a", "Music"}});
    // No bus answered: the data's value (clamped to the range) stays.
    EXPECT_FLOAT_EQ(ui.Get<ComponentSlider>(1).value().value, 1.0f);

    ui.MoveCursor({-1.0f, 0.1f});
    ui.Key(MessageKey::kMouseFirst, MessageKey::kPressed);
    EXPECT_FLOAT_EQ(ui.Get<ComponentSlider>(1).value().value, 0.5f);  // a quarter of the way
    ui.MoveCursor({-7.0f, 3.0f});                                     // off the track: clamped
    ui.test->Frame();
    EXPECT_FLOAT_EQ(ui.Get<ComponentSlider>(1).value().value, 0.0f);
    ui.MoveCursor({1.0f, 0.0f});
    ui.test->Frame();
    EXPECT_FLOAT_EQ(ui.Get<ComponentSlider>(1).value().value, 1.5f);
    ui.Key(MessageKey::kMouseFirst, MessageKey::kReleased);
    ui.MoveCursor({-2.0f, 0.0f});
    ui.test->Frame();
    EXPECT_FLOAT_EQ(ui.Get<ComponentSlider>(1).value().value, 1.5f);
    using Set = std::pair<std::string, float>;
    EXPECT_EQ(ui.buses->sets,
              (std::vector<Set>{{"Music", 0.5f}, {"Music", 0.0f}, {"Music", 1.5f}}));

    // A press beside the track grabs nothing.
    ui.MoveCursor({0.0f, 2.0f});
    ui.Key(MessageKey::kMouseFirst, MessageKey::kPressed);
    ui.test->Frame();
    EXPECT_EQ(ui.buses->sets.size(), 3u);
}
