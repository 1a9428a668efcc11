#include "engine/Engine.h"

#include <vector>

#include <gtest/gtest.h>

#include "engine/MessageFrame.h"
#include "engine/MessageQuit.h"
#include "engine/MessageTrigger.h"
#include "engine/SimulationSeed.h"
#include "tests/support/RecordingManager.h"

namespace {

/// Counts frames and reacts to them with a hook, so a test can steer a real Run().
class ScriptedManager : public Manager {
public:
    bool HandleMessage(const Message& message) override {
        if (message.TypeId() == MessageId::Update) {
            dts.push_back(static_cast<const MessageUpdate&>(message).dt);
        }
        if (message.TypeId() == MessageId::Render) ++renders;
        if (onMessage) onMessage(message, *this);
        return consumeUpdates && message.TypeId() == MessageId::Update;
    }

    std::vector<float> dts;
    int renders = 0;
    bool consumeUpdates = false;
    std::function<void(const Message&, ScriptedManager&)> onMessage;
};

}  // namespace

TEST(Engine, ClampsFrameTime) {
    EXPECT_FLOAT_EQ(Engine::ClampFrameTime(0.5f), 0.033333335f);
    EXPECT_FLOAT_EQ(Engine::ClampFrameTime(0.01f), 0.01f);
    EXPECT_FLOAT_EQ(Engine::ClampFrameTime(-1.0f), 0.0f);
}

TEST(Engine, DeliversInOrderUntilConsumed) {
    Engine engine;
    auto first = std::make_unique<ScriptedManager>();
    auto* firstPtr = first.get();
    auto second = std::make_unique<RecordingManager>();
    auto* secondPtr = second.get();
    engine.AddManager(std::move(first));
    engine.AddManager(std::move(second));

    std::vector<int> order;
    firstPtr->onMessage = [&](const Message&, ScriptedManager&) { order.push_back(1); };
    secondPtr->onMessage = [&](const Message&) { order.push_back(2); };
    EXPECT_FALSE(engine.HandleMessage(MessageRender()));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    order.clear();
    firstPtr->consumeUpdates = true;
    EXPECT_TRUE(engine.HandleMessage(MessageUpdate(0.01f)));
    EXPECT_EQ(order, (std::vector<int>{1}));
    // Managers hold the engine's callback, so their sends enter the whole bus.
    EXPECT_FALSE(secondPtr->SendMessage(MessageRender()));
    EXPECT_EQ(order, (std::vector<int>{1, 1, 2}));
}

TEST(Engine, ExitEndsTheLoopAfterTheCurrentFrame) {
    Engine engine;
    auto script = std::make_unique<ScriptedManager>();
    auto* s = script.get();
    engine.AddManager(std::move(script));
    s->onMessage = [](const Message& m, ScriptedManager& self) {
        if (m.TypeId() == MessageId::Update && self.dts.size() == 3) {
            // Case matters: only the exact name stops the loop.
            self.SendMessage(MessageTrigger("exit", true));
            self.SendMessage(MessageTrigger("Exit", true));
        }
    };
    engine.Run();
    EXPECT_EQ(s->dts.size(), 3u);
    EXPECT_EQ(s->renders, 3);
    for (float dt : s->dts) {
        EXPECT_GE(dt, 0.0f);
        EXPECT_LE(dt, Engine::kMaxFrameTime);
    }
}

TEST(Engine, QuitDuringInitializeRunsNoFrame) {
    Engine engine;
    auto script = std::make_unique<ScriptedManager>();
    auto* s = script.get();
    engine.AddManager(std::move(script));
    s->onMessage = [](const Message& m, ScriptedManager& self) {
        if (m.TypeId() == MessageId::Initialize) self.SendMessage(MessageQuit());
    };
    engine.Run();
    EXPECT_TRUE(s->dts.empty());
    EXPECT_EQ(s->renders, 0);
}

TEST(Engine, PauseReportsZeroFrameTimeUntilResumed) {
    Engine engine;
    auto script = std::make_unique<ScriptedManager>();
    auto* s = script.get();
    engine.AddManager(std::move(script));
    s->onMessage = [](const Message& m, ScriptedManager& self) {
        if (m.TypeId() != MessageId::Update) return;
        const auto frame = self.dts.size();
        if (frame == 1) self.SendMessage(MessageTrigger("Pause", true));
        if (frame == 3) self.SendMessage(MessageTrigger("Paused", false));  // not the name
        if (frame == 4) self.SendMessage(MessageTrigger("Pause", false));
        if (frame == 6) self.SendMessage(MessageTrigger("Exit", true));
    };
    engine.Run();
    ASSERT_EQ(s->dts.size(), 6u);
    EXPECT_FLOAT_EQ(s->dts[1], 0.0f);
    EXPECT_FLOAT_EQ(s->dts[2], 0.0f);
    EXPECT_FLOAT_EQ(s->dts[3], 0.0f);
    // The clock kept running while paused, so the first frame after is short, not huge.
    EXPECT_LT(s->dts[4], Engine::kMaxFrameTime);
}

TEST(Engine, FixedFrameTimeReportsTheStepEveryFrameAndZeroWhilePaused) {
    Engine engine;
    auto script = std::make_unique<ScriptedManager>();
    auto* s = script.get();
    engine.AddManager(std::move(script));
    engine.SetFixedFrameTime(0.0125f, false);
    s->onMessage = [](const Message& m, ScriptedManager& self) {
        if (m.TypeId() != MessageId::Update) return;
        const auto frame = self.dts.size();
        if (frame == 2) self.SendMessage(MessageTrigger("Pause", true));
        if (frame == 3) self.SendMessage(MessageTrigger("Pause", false));
        if (frame == 5) self.SendMessage(MessageQuit());
    };
    engine.Run();
    const std::vector<float> expected{0.0125f, 0.0125f, 0.0f, 0.0125f, 0.0125f};
    EXPECT_EQ(s->dts, expected);
    EXPECT_EQ(s->renders, 5);
}

TEST(Engine, ZeroFixedFrameTimeGoesBackToTheClock) {
    Engine engine;
    auto script = std::make_unique<ScriptedManager>();
    auto* s = script.get();
    engine.AddManager(std::move(script));
    engine.SetFixedFrameTime(0.02f, false);
    engine.SetFixedFrameTime(0.0f, true);
    EXPECT_EQ(engine.FixedFrameTime(), 0.0f);
    s->onMessage = [](const Message& m, ScriptedManager& self) {
        if (m.TypeId() == MessageId::Update && self.dts.size() == 3) {
            self.SendMessage(MessageQuit());
        }
    };
    engine.Run();
    ASSERT_EQ(s->dts.size(), 3u);
    // Measured frames of an idle loop are far shorter than the step that was set before.
    for (float dt : s->dts) EXPECT_NE(dt, 0.02f);
}

TEST(SimulationSeed, GeneratorsKeepTheirUsualSeedUnlessARecordingSetsOne) {
    simulation_seed::Clear();
    EXPECT_EQ(simulation_seed::SeedFor("particles", 5489u), 5489u);
    simulation_seed::Set(7u);
    const std::uint32_t particles = simulation_seed::SeedFor("particles", 5489u);
    EXPECT_EQ(simulation_seed::SeedFor("particles", 1u), particles);
    EXPECT_NE(simulation_seed::SeedFor("variants", 5489u), particles);
    simulation_seed::Set(8u);
    EXPECT_NE(simulation_seed::SeedFor("particles", 5489u), particles);
    simulation_seed::Clear();
    EXPECT_FALSE(simulation_seed::Get());
}

TEST(Engine, FrameMessagesTraceAsTheLogExpects) {
    std::ostringstream update, zero, trigger;
    MessageUpdate(0.5f).Trace(update);
    MessageUpdate(0.0f).Trace(zero);
    MessageTrigger("Pause", true).Trace(trigger);
    EXPECT_EQ(update.str(), "Update 2");
    EXPECT_EQ(zero.str(), "Update inf");
    EXPECT_EQ(trigger.str(), "Triggered Pause to 1\n");
}
