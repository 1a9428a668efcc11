#include "engine/FrameProfile.h"

#include <cmath>
#include <functional>
#include <numeric>
#include <string>

#include <gtest/gtest.h>

#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "tests/engine/TestSystems.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

namespace {

/// Sends three triggers per update and keeps busy meanwhile, so that time spent inside it is
/// measurable; `onUpdate` lets a test act inside a frame.
class SystemChatty : public System<ComponentTag, SystemChatty> {
public:
    bool HandleMessage(const Message& message) override {
        if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
        for (int i = 0; i < 3; ++i) SendMessage(MessageTrigger("chat", true));
        volatile double sink = 0.0;
        for (int i = 0; i < 20000; ++i) sink = sink + std::sqrt(static_cast<double>(i));
        if (onUpdate) onUpdate();
        return false;
    }
    std::function<void()> onUpdate;
};

struct Profiled {
    Profiled() {
        assets.Scene("Play", nlohmann::json::object());
        std::vector<std::unique_ptr<SystemBase>> systems;
        systems.push_back(std::make_unique<SystemHealth>());
        systems.push_back(std::make_unique<SystemChatty>());
        engine = std::make_unique<TestEngine>(std::move(systems));
    }
    ~Profiled() { FrameProfile::SetActive(nullptr); }

    SystemChatty& Chatty() {
        return static_cast<SystemChatty&>(*engine->states->GetState("Play").systems[1]);
    }
    const FrameProfile::Section* Find(const std::string& part) const {
        for (const auto& section : profile.Sections()) {
            if (section.name.find(part) != std::string::npos) return &section;
        }
        return nullptr;
    }

    TempAssets assets;
    std::unique_ptr<TestEngine> engine;
    FrameProfile profile{true};
};

}  // namespace

TEST(FrameProfile, CountsMessagesAndSplitsTheFrameWithoutCountingTwice) {
    Profiled run;
    run.engine->Enter("Play");
    run.engine->Frame();
    // Update, render and the three triggers; nothing is timed while no profile is active.
    EXPECT_EQ(run.engine->engine.MessagesLastFrame(), 5);
    EXPECT_TRUE(run.profile.Frames().empty());

    FrameProfile::SetActive(&run.profile);
    run.engine->Frames(4);
    ASSERT_EQ(run.profile.Frames().size(), 4u);
    for (const auto& frame : run.profile.Frames()) EXPECT_EQ(frame.messages, 5);

    const FrameProfile::Section* chatty = run.Find("SystemChatty");
    const FrameProfile::Section* health = run.Find("SystemHealth");
    const FrameProfile::Section* states = run.Find("ManagerState");
    ASSERT_TRUE(chatty && health && states);
    for (const auto& section : run.profile.Sections()) {
        EXPECT_EQ(section.perFrame.size(), 4u) << section.name;
    }
    // Each handler's share leaves out the handlers timed inside it, so the shares of a frame
    // add up to no more than the frame: the state manager does not also count its systems.
    for (std::size_t f = 0; f < 4; ++f) {
        float sum = 0.0f;
        for (const auto& section : run.profile.Sections()) sum += section.perFrame[f];
        EXPECT_LE(sum, run.profile.Frames()[f].wallMs * 1.001f + 0.001f);
        EXPECT_GT(chatty->perFrame[f], 0.0f);
    }
}

TEST(FrameProfile, AFrameSwitchedOnHalfwayIsDroppedAndEntriesAreNoted) {
    Profiled run;
    run.engine->Enter("Play");
    run.Chatty().onUpdate = [&] { FrameProfile::SetActive(&run.profile); };
    run.engine->Frame();
    EXPECT_TRUE(run.profile.Frames().empty());
    run.Chatty().onUpdate = nullptr;
    run.engine->Frame();
    EXPECT_EQ(run.profile.Frames().size(), 1u);

    run.assets.Scene("Other", nlohmann::json::object());
    run.engine->Enter("Other");
    ASSERT_EQ(run.profile.Notes().size(), 1u);
    EXPECT_EQ(run.profile.Notes()[0].text, "entered Other");
}

TEST(FrameProfile, WithoutHistoryKeepsTheRecentFramesAligned) {
    Profiled run;
    FrameProfile recent(false);
    FrameProfile::SetActive(&recent);
    run.engine->Enter("Play");
    run.engine->Frames(static_cast<int>(3 * FrameProfile::kRecentFrames));
    EXPECT_GE(recent.Frames().size(), FrameProfile::kRecentFrames);
    EXPECT_LT(recent.Frames().size(), 2 * FrameProfile::kRecentFrames);
    for (const auto& section : recent.Sections()) {
        EXPECT_EQ(section.perFrame.size(), recent.Frames().size()) << section.name;
    }
    EXPECT_EQ(recent.RankedRecent(60, 2).size(), 2u);
}

TEST(FrameProfile, Percentiles) {
    EXPECT_EQ(Percentile({}, 0.5), 0.0f);
    EXPECT_EQ(Percentile({5, 1, 3, 2, 4}, 0.5), 3.0f);
    std::vector<float> hundred(100);
    std::iota(hundred.begin(), hundred.end(), 1.0f);
    EXPECT_EQ(Percentile(hundred, 0.99), 99.0f);
    EXPECT_EQ(Percentile(hundred, 1.0), 100.0f);
    EXPECT_EQ(Percentile(hundred, 0.0), 1.0f);
}
