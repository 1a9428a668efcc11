#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/MessageCursor.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "services/graphics/Input.h"

using graphics::InputEvent;

namespace {

struct Emitted {
    int id = 0;
    int key = 0, action = 0, mods = 0;
    bool debug = false;
    std::string name;
    glm::vec2 vec{0.0f};
};

struct Recorder {
    std::vector<Emitted> sent;
    SendCallback send = [this](const Message& m) {
        Emitted s;
        s.id = m.TypeId();
        if (m.TypeId() == MessageId::Key) {
            auto& k = static_cast<const MessageKey&>(m);
            s.key = k.key;
            s.action = k.action;
            s.mods = k.mods;
            s.debug = k.debug;
        } else if (m.TypeId() == MessageId::Trigger) {
            auto& t = static_cast<const MessageTrigger&>(m);
            s.name = std::string(t.name);
            s.debug = t.value;
        } else if (m.TypeId() == MessageId::Scroll) {
            s.vec = static_cast<const MessageScroll&>(m).offset;
        } else if (m.TypeId() == MessageId::CursorPosition) {
            s.vec = static_cast<const MessageCursorPosition&>(m).position;
        } else if (m.TypeId() == MessageId::CursorWorldPosition) {
            auto& w = static_cast<const MessageCursorWorldPosition&>(m);
            s.name = std::string(w.camera);
            s.vec = w.position;
        }
        sent.push_back(s);
        return false;
    };
};

InputEvent Key(int code, int action, int mods = 0) {
    return {InputEvent::Kind::Key, code, action, mods, {}};
}

}  // namespace

TEST(Input, KeysKeepTheirCodeActionAndModifiers) {
    Recorder r;
    graphics::DebugMode debug;
    graphics::DispatchInput(Key(67, 1, 2), debug, r.send);
    graphics::DispatchInput(Key(262, 2), debug, r.send);
    graphics::DispatchInput(Key(-1, 0), debug, r.send);
    ASSERT_EQ(r.sent.size(), 3u);
    EXPECT_EQ(r.sent[0].key, 67);
    EXPECT_EQ(r.sent[0].action, 1);
    EXPECT_EQ(r.sent[0].mods, 2);
    EXPECT_FALSE(r.sent[0].debug);
    EXPECT_EQ(r.sent[1].action, 2);
    EXPECT_EQ(r.sent[2].key, -1);
}

TEST(Input, MouseButtonsTravelAsKeysFrom348) {
    Recorder r;
    graphics::DebugMode debug;
    for (int button : {0, 1, 2, 7, 8}) {
        graphics::DispatchInput({InputEvent::Kind::MouseButton, button, 1, 0, {}}, debug, r.send);
    }
    ASSERT_EQ(r.sent.size(), 4u) << "a ninth button has no code and sends nothing";
    EXPECT_EQ(r.sent[0].key, 348);
    EXPECT_EQ(r.sent[1].key, 349);
    EXPECT_EQ(r.sent[2].key, 350);
    EXPECT_EQ(r.sent[3].key, 355);
}

TEST(Input, GraveAccentTogglesDebugAndItsOwnMessagesCarryTheFlagClear) {
    Recorder r;
    graphics::DebugMode debug;
    const std::vector<InputEvent> events{Key(65, 1),
                                         Key(96, 1),
                                         Key(96, 0),
                                         Key(65, 1),
                                         {InputEvent::Kind::MouseButton, 0, 1, 0, {}},
                                         Key(96, 2),
                                         Key(65, 0),
                                         Key(96, 1),
                                         Key(65, 1)};
    for (const auto& e : events) graphics::DispatchInput(e, debug, r.send);
    std::vector<bool> flags;
    for (const auto& s : r.sent) flags.push_back(s.debug);
    // A repeat of the grave key does not toggle; the press that leaves debug mode is clear.
    EXPECT_EQ(flags,
              (std::vector<bool>{false, false, false, true, true, false, true, false, false}));
    EXPECT_FALSE(debug.IsOn());
}

TEST(Input, FocusAndScrollBecomeTheirMessages) {
    Recorder r;
    graphics::DebugMode debug;
    graphics::DispatchInput({InputEvent::Kind::Focus, 0, 0, 0, {}}, debug, r.send);
    graphics::DispatchInput({InputEvent::Kind::Focus, 1, 0, 0, {}}, debug, r.send);
    graphics::DispatchInput({InputEvent::Kind::Scroll, 0, 0, 0, {0.0f, -2.0f}}, debug, r.send);
    ASSERT_EQ(r.sent.size(), 3u);
    EXPECT_EQ(r.sent[0].name, "Window Focus");
    EXPECT_FALSE(r.sent[0].debug);
    EXPECT_TRUE(r.sent[1].debug);
    EXPECT_EQ(r.sent[2].id, MessageId::Scroll);
    EXPECT_EQ(r.sent[2].vec, glm::vec2(0.0f, -2.0f));
}

TEST(Input, LetterboxKeepsTheAspectAndCentresThePicture) {
    const auto wide = graphics::FitAspect(2000, 720, 16.0f / 9.0f);
    EXPECT_EQ(wide.width, 1280);
    EXPECT_EQ(wide.height, 720);
    EXPECT_EQ(wide.x, 360);
    EXPECT_EQ(wide.y, 0);
    const auto tall = graphics::FitAspect(1280, 1000, 16.0f / 9.0f);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 720);
    EXPECT_EQ(tall.y, 140);
    const auto minimised = graphics::FitAspect(0, 0, 16.0f / 9.0f);
    EXPECT_EQ(minimised.width, 0);
    EXPECT_EQ(graphics::WindowToNdc({5, 5}, minimised), glm::vec2(0, 0));

    // Window pixels count from the top-left; the picture's y points up.
    EXPECT_EQ(graphics::WindowToNdc({360, 0}, wide), glm::vec2(-1, 1));
    EXPECT_EQ(graphics::WindowToNdc({1000, 360}, wide), glm::vec2(0, 0));
    EXPECT_EQ(graphics::WindowToNdc({1640, 720}, wide), glm::vec2(1, -1));
    EXPECT_LT(graphics::WindowToNdc({0, 360}, wide).x, -1.0f);
}

TEST(Input, CursorMessagesGoOutPositionFirstThenOnePerCamera) {
    Recorder r;
    graphics::CameraView main;
    main.main = true;
    main.position = {1, 2, 0};
    graphics::CameraView ui;
    ui.name = "UI";
    graphics::SendCursor(graphics::ComputeCursor({main, ui}, 1.0f, {0, 0}), r.send);
    ASSERT_EQ(r.sent.size(), 3u);
    EXPECT_EQ(r.sent[0].id, MessageId::CursorPosition);
    EXPECT_EQ(r.sent[1].name, "");
    EXPECT_EQ(r.sent[1].vec, glm::vec2(1, 2));
    EXPECT_EQ(r.sent[2].name, "UI");
    EXPECT_EQ(r.sent[2].vec, glm::vec2(0, 0));
}
