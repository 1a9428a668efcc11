#include "engine/ManagerTrace.h"

#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "engine/MessageEntity.h"
#include "engine/MessageFrame.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

namespace {

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(Trace, WritesOneLinePerMessageAndSkipsFrames) {
    TempAssets assets;
    {
        ManagerTrace trace;
        trace.HandleMessage(MessageInitialize());
        trace.HandleMessage(MessageUpdate(0.1f));
        trace.HandleMessage(MessageRender());
        trace.HandleMessage(MessageTrigger("Pause", true));
        trace.HandleMessage(MessageEntityBirth(3));
        trace.HandleMessage(MessageDestroyEntity(25));
        trace.HandleMessage(MessageCreateState("Level"));
        trace.HandleMessage(MessageDestroyState("Level"));
        EXPECT_FALSE(trace.HandleMessage(MessageChangeState("Level")));
    }
    EXPECT_EQ(Lines("trace.log"),
              (std::vector<std::string>{"Initialize", "Triggered Pause to 1", "", "",
                                        "Destroyed entity 25", "Added the Level state ",
                                        "Destoyed the Level state", "Changed state to Level"}));
}

TEST(Trace, FirstInLineSeesTheWholeStart) {
    TempAssets assets;
    assets.Entity("Dot", {{"Transform", nlohmann::json::object()}});
    assets.Scene("Splash", {{"a", "Dot"}});
    {
        std::vector<std::unique_ptr<Manager>> managers;
        Engine engine;
        engine.AddManager(std::make_unique<ManagerTrace>());
        engine.AddManager(std::make_unique<ManagerState>());
        engine.HandleMessage(MessageAddSystem(std::make_unique<SystemTransform>()));
        engine.HandleMessage(MessageChangeState("Splash"));
        engine.HandleMessage(MessageInitialize());
        engine.HandleMessage(MessageUpdate(0.01f));
    }
    const auto lines = Lines("trace.log");
    const std::vector<std::string> expected = {"Added system",
                                               "Changed state to Splash",
                                               "Initialize",
                                               "Added the Splash state ",
                                               "Added Dot to Splash",
                                               "Added Transform to entity 1 in Splash",
                                               "Triggered Checkpoint to 1",
                                               "",
                                               ""};
    EXPECT_EQ(lines, expected);
}

TEST(Trace, LinesFromSeveralThreadsNeverInterleave) {
    TempAssets assets;
    {
        ManagerTrace trace;
        auto writer = [&trace](int entity) {
            for (int i = 0; i < 500; ++i) trace.HandleMessage(MessageDestroyEntity(entity));
        };
        std::thread a(writer, 111111), b(writer, 222222);
        a.join();
        b.join();
    }
    const auto lines = Lines("trace.log");
    ASSERT_EQ(lines.size(), 1000u);
    for (const auto& line : lines) {
        EXPECT_TRUE(line == "Destroyed entity 111111" || line == "Destroyed entity 222222") << line;
    }
}
