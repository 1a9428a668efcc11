#include "game/replay/ReplayJitter.h"

#include <cstdlib>
#include <map>

#include <gtest/gtest.h>

namespace {

ReplayInput Key(int frame, int code, int action) {
    ReplayInput input;
    input.frame = frame;
    input.key = code;
    input.action = action;
    return input;
}

/// Quick taps of two keys, close together, and a cursor move: the orders a shift could break.
Replay Taps() {
    Replay replay;
    replay.start = "Level1";
    replay.expect = "Level2";
    replay.frames = 60;
    for (int f = 0; f < 50; f += 4) {
        replay.input.push_back(Key(f, 32, 1));
        replay.input.push_back(Key(f + 1, 32, 0));
        replay.input.push_back(Key(f + 2, 68, 1));
        replay.input.push_back(Key(f + 2, 68, 0));
    }
    ReplayInput cursor;
    cursor.kind = ReplayInput::Kind::Cursor;
    cursor.frame = 59;
    replay.input.push_back(cursor);
    return replay;
}

}  // namespace

TEST(ReplayJitter, MovesInputsWithinTheRangeKeepingEachKeysOrder) {
    const Replay replay = Taps();
    int moved = 0;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        const Replay jittered = JitterReplay(replay, 3, seed);
        ASSERT_EQ(jittered.input.size(), replay.input.size());
        EXPECT_EQ(jittered.frames, replay.frames);
        std::map<int, int> lastAction;  // key code -> last action seen
        int previousFrame = 0;
        for (const ReplayInput& input : jittered.input) {
            EXPECT_GE(input.frame, previousFrame);  // delivery order
            EXPECT_LT(input.frame, replay.frames);
            EXPECT_GE(input.frame, 0);
            previousFrame = input.frame;
            if (input.kind != ReplayInput::Kind::Key) continue;
            // Presses and releases of a key alternate, starting with a press.
            const auto last = lastAction.find(input.key);
            EXPECT_EQ(input.action, last == lastAction.end() ? 1 : 1 - last->second);
            lastAction[input.key] = input.action;
        }
        for (std::size_t i = 0; i < replay.input.size(); ++i) {
            if (jittered.input[i].frame != replay.input[i].frame) ++moved;
        }
        EXPECT_EQ(jittered.input.back().kind, ReplayInput::Kind::Cursor);
    }
    EXPECT_GT(moved, 0);
    // The same seed, the same copy; no jitter, no change.
    EXPECT_EQ(JitterReplay(replay, 3, 5), JitterReplay(replay, 3, 5));
    EXPECT_EQ(JitterReplay(replay, 0, 5), replay);
}

TEST(ReplayJitter, PressesStayWithinTheRange) {
    Replay replay;
    replay.frames = 1000;
    for (int f = 100; f < 900; f += 40) {
        replay.input.push_back(Key(f, 65, 1));
        replay.input.push_back(Key(f + 20, 65, 0));
    }
    const Replay jittered = JitterReplay(replay, 6, 77);
    bool anyAtEdge = false;
    for (std::size_t i = 0; i < replay.input.size(); ++i) {
        const int shift = jittered.input[i].frame - replay.input[i].frame;
        EXPECT_LE(std::abs(shift), 6);
        if (std::abs(shift) == 6) anyAtEdge = true;
    }
    EXPECT_TRUE(anyAtEdge);
}
