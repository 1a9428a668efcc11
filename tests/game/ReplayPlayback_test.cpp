#include <cmath>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "engine/MessageComponent.h"
#include "engine/MessageCursor.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageQuit.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/replay/ManagerReplayPlayer.h"
#include "game/replay/ManagerReplayRecorder.h"
#include "game/replay/StateHash.h"
#include "physics2d/SystemPhysics.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

namespace {

// Stands in for the window: at the render of each frame it sends that frame's scripted input
// and then the cursor, and it closes after `frames` frames.
class ScriptedWindow : public Manager {
public:
    std::map<int, std::function<void(const SendCallback&)>> input;
    std::map<int, glm::vec2> cursorFrom;
    int frames = 0;

    bool HandleMessage(const Message& message) override {
        if (message.TypeId() == MessageId::Update) ++frame;
        if (message.TypeId() != MessageId::Render) return false;
        if (auto it = input.find(frame); it != input.end()) it->second(SendMessage);
        auto cursor = cursorFrom.upper_bound(frame);
        if (cursor != cursorFrom.begin()) {
            const glm::vec2 position = std::prev(cursor)->second;
            const glm::vec2 main{10.0f, 2.0f}, ui{0.0f, 0.0f};
            SendMessage(MessageCursorPosition(position));
            SendMessage(MessageCursorWorldPosition("", main));
            SendMessage(MessageCursorWorldPosition("UI", ui));
        }
        if (frame + 1 == frames) SendMessage(MessageQuit());
        return false;
    }

private:
    int frame = -1;
};

// Writes down, by frame, every message of the kinds the game reads as input, and each frame's
// frame time.
class InputLog : public Manager {
public:
    std::vector<std::string> lines;
    std::vector<float> dts;

    bool HandleMessage(const Message& message) override {
        const int id = message.TypeId();
        if (id == MessageId::Update) {
            dts.push_back(static_cast<const MessageUpdate&>(message).dt);
            return false;
        }
        const bool focus = id == MessageId::Trigger &&
                           static_cast<const MessageTrigger&>(message).name == "Window Focus";
        if (id == MessageId::Key || id == MessageId::Scroll || id == MessageId::CursorPosition ||
            id == MessageId::CursorWorldPosition || focus) {
            std::ostringstream line;
            line << dts.size() - 1 << ": ";
            message.Trace(line);
            if (id == MessageId::CursorWorldPosition) {
                line << " camera "
                     << static_cast<const MessageCursorWorldPosition&>(message).camera;
            }
            lines.push_back(line.str());
        }
        return false;
    }
};

std::unique_ptr<ScriptedWindow> SampleWindow(int frames) {
    auto window = std::make_unique<ScriptedWindow>();
    window->frames = frames;
    window->input[1] = [](const SendCallback& send) {
        send(MessageKey(68, MessageKey::kPressed, 0, false));
        send(MessageScroll(glm::vec2(0.0f, -1.0f)));
    };
    window->input[4] = [](const SendCallback& send) {
        send(MessageKey(348, MessageKey::kPressed, MessageKey::kModControl, true));
        send(MessageTrigger("Window Focus", false));
        send(MessageKey(68, MessageKey::kReleased, 0, false));
    };
    window->cursorFrom[2] = {0.25f, -0.5f};
    window->cursorFrom[5] = {1.0f / 3.0f, 0.1f};
    return window;
}

struct Recorded {
    Replay replay;
    std::vector<std::string> lines;
};

Recorded RecordSample(int frames) {
    Recorded out;
    out.replay.step = 0.02f;
    Engine engine;
    engine.AddManager(SampleWindow(frames));
    auto recorder = std::make_unique<ManagerReplayRecorder>(out.replay);
    auto* recording = recorder.get();
    engine.AddManager(std::move(recorder));
    auto log = std::make_unique<InputLog>();
    auto* seen = log.get();
    engine.AddManager(std::move(log));
    engine.SetFixedFrameTime(out.replay.step, false);
    engine.Run();
    recording->Finish();
    out.lines = seen->lines;
    return out;
}

struct Played {
    int framesRun = 0;
    std::vector<std::string> lines;
    std::vector<float> dts;
};

Played Play(const Replay& replay,
            std::function<void(const Message&, const SendCallback&)> game = {}) {
    Played out;
    Engine engine;
    auto player = std::make_unique<ManagerReplayPlayer>(replay);
    auto* playing = player.get();
    engine.AddManager(std::move(player));
    auto log = std::make_unique<InputLog>();
    auto* seen = log.get();
    engine.AddManager(std::move(log));
    if (game) {
        struct Game : Manager {
            std::function<void(const Message&, const SendCallback&)> react;
            bool HandleMessage(const Message& m) override {
                react(m, SendMessage);
                return false;
            }
        };
        auto hook = std::make_unique<Game>();
        hook->react = std::move(game);
        engine.AddManager(std::move(hook));
    }
    engine.SetFixedFrameTime(replay.step, false);
    engine.Run();
    out.framesRun = playing->FramesRun();
    out.lines = seen->lines;
    out.dts = seen->dts;
    return out;
}

}  // namespace

TEST(ReplayRecorder, PlayingARecordingDeliversTheSameInputAtTheSameFrames) {
    const Recorded recorded = RecordSample(8);
    EXPECT_EQ(recorded.replay.frames, 8);
    // Keys, scroll and focus as they came; the cursor only where it changed (frames 2 and 5).
    ASSERT_EQ(recorded.replay.input.size(), 7u);
    EXPECT_EQ(recorded.replay.input[2].kind, ReplayInput::Kind::Cursor);
    EXPECT_EQ(recorded.replay.input[2].frame, 2);
    ASSERT_EQ(recorded.replay.input[2].offsets.size(), 2u);
    EXPECT_EQ(recorded.replay.input[2].offsets[1].camera, "UI");
    EXPECT_EQ(recorded.replay.input[6].frame, 5);

    const Played played = Play(recorded.replay);
    EXPECT_EQ(played.framesRun, 8);
    EXPECT_EQ(played.lines, recorded.lines);
    // Fixed step, every frame.
    EXPECT_EQ(played.dts, std::vector<float>(8, 0.02f));
}

TEST(ReplayPlayer, RunsPastItsInputToItsFrameCountResendingTheCursor) {
    Replay replay = RecordSample(6).replay;
    replay.frames = 40;
    const Played played = Play(replay);
    EXPECT_EQ(played.framesRun, 40);
    ASSERT_EQ(played.dts.size(), 40u);
    ASSERT_FALSE(played.lines.empty());
    EXPECT_EQ(played.lines.back(), "39: Cursor world position 0 0 camera UI");
}

TEST(ReplayPlayer, StopsWhenTheGameEndsEarly) {
    Replay replay = RecordSample(8).replay;
    auto updates = std::make_shared<int>(0);
    const Played played = Play(replay, [updates](const Message& m, const SendCallback& send) {
        if (m.TypeId() == MessageId::Update && ++*updates == 3) {
            send(MessageTrigger("Exit", true));
        }
    });
    EXPECT_EQ(played.framesRun, 3);
    EXPECT_EQ(played.dts.size(), 3u);
}

TEST(ReplayPlayer, ARecordingOfNoFramesRunsNone) {
    Replay replay;
    replay.frames = 0;
    const Played played = Play(replay);
    EXPECT_EQ(played.framesRun, 0);
    EXPECT_TRUE(played.dts.empty());
}

namespace {

std::vector<std::unique_ptr<SystemBase>> HashRoster() {
    std::vector<std::unique_ptr<SystemBase>> roster;
    roster.push_back(std::make_unique<SystemPhysics>());
    roster.push_back(std::make_unique<SystemTransform>());
    return roster;
}

void WriteHashScene(const TempAssets& assets) {
    assets.Entity("Ball", {{"Transform", {{"Translation", {1, 2, 0}}}},
                           {"Physics", {{"Velocity", {0.5, 3, 0}}, {"Acceleration", {0, -9, 0}}}}});
    assets.Entity("Post", {{"Transform", {{"Translation", {-4, 0, 0}}}}});
    assets.Scene("Field", {{"A", "Ball"}, {"B", "Post"}, {"C", "Ball"}});
}

std::string HashAfter(int frames, const std::function<void(TestEngine&)>& change = {}) {
    TestEngine test(HashRoster());
    test.Enter("Field");
    test.Frames(frames);
    if (change) change(test);
    return HashCurrentState(test.engine, *test.states);
}

}  // namespace

TEST(StateHash, SameStateSameHashAndAnyChangedValueChangesIt) {
    TempAssets assets;
    WriteHashScene(assets);
    const std::string hash = HashAfter(20);
    EXPECT_EQ(hash.size(), 16u);
    EXPECT_EQ(hash.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(HashAfter(20), hash);
    EXPECT_NE(HashAfter(21), hash);
    const std::string nudged = HashAfter(20, [](TestEngine& test) {
        ASSERT_TRUE(test.Query<ComponentPhysics>(
            1, [](ComponentPhysics& p) { p.Velocity.x = std::nextafter(p.Velocity.x, 10.0f); }));
    });
    EXPECT_NE(nudged, hash);
    const std::string removed = HashAfter(20, [](TestEngine& test) {
        test.Send(MessageDestroyEntity(2));
        test.Frame(0.0f);
    });
    EXPECT_NE(removed, hash);
}

TEST(StateHash, NegativeZeroHashesAsZero) {
    StateHasher a, b;
    a.Float(0.0f);
    b.Float(-0.0f);
    EXPECT_EQ(a.Hex(), b.Hex());
    b.Float(1.0f);
    EXPECT_NE(a.Hex(), b.Hex());
}
