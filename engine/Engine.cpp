#include "engine/Engine.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/DeliverInTurn.h"
#include "engine/FrameProfile.h"
#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"

namespace {

/// Per thread, so that loader threads sending entities need no lock; frames count the main
/// thread's.
thread_local long long messagesSent = 0;

}  // namespace

Engine::Engine() {
    SendMessage = [this](const Message& message) { return HandleMessage(message); };
}

Engine::~Engine() {
    // First added, first destroyed: the state manager goes before the services it talks to.
    // Each slot keeps its pointer while its manager is destroyed, because a scene loader that
    // the state manager is still joining may be sending through the bus meanwhile.
    for (auto& manager : managers) {
        delete manager.get();
        (void)manager.release();
    }
}

void Engine::AddManager(std::unique_ptr<Manager>&& manager) {
    manager->SendMessage = SendMessage;
    managers.push_back(std::move(manager));
}

bool Engine::HandleMessage(const Message& message) {
    ++messagesSent;
    const int id = message.TypeId();
    if (id == MessageId::Quit) {
        running = false;
    } else if (id == MessageId::Trigger) {
        auto& trigger = static_cast<const MessageTrigger&>(message);
        if (trigger.name == trigger::Pause) {
            paused = trigger.value;
        } else if (trigger.name == trigger::Exit) {
            running = false;
        }
    }
    return DeliverInTurn(managers, message);
}

void Engine::Frame(float dt) {
    const long long before = messagesSent;
    if (FrameProfile* profile = FrameProfile::Active()) profile->BeginFrame();
    SendMessage(MessageUpdate(dt));
    SendMessage(MessageRender());
    lastFrameMessages = messagesSent - before;
    if (FrameProfile* profile = FrameProfile::Active()) profile->EndFrame(lastFrameMessages);
}

float Engine::ClampFrameTime(float seconds) {
    if (seconds > kMaxFrameTime) return kMaxFrameTime;
    if (seconds < 0.0f) return 0.0f;
    return seconds;
}

void Engine::SetFixedFrameTime(float seconds, bool pace) {
    fixedFrameTime = seconds > 0.0f ? seconds : 0.0f;
    paced = pace && fixedFrameTime > 0.0f;
}

void Engine::Run() {
    using Clock = std::chrono::steady_clock;
    running = true;
    SendMessage(MessageInitialize());
    auto prev = Clock::now();
    while (running) {
        if (fixedFrameTime > 0.0f) {
            // The clock only paces the frames here; the simulation never sees it.
            if (paced) {
                const auto due = prev + std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<float>(fixedFrameTime));
                std::this_thread::sleep_until(due);
                prev = std::max(due, Clock::now() - std::chrono::milliseconds(100));
            }
            Frame(paused ? 0.0f : fixedFrameTime);
            continue;
        }
        const auto now = Clock::now();
        const float elapsed =
            static_cast<float>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(now - prev).count()) /
            1'000'000'000.0f;
        const float dt = paused ? 0.0f : ClampFrameTime(elapsed);
        Frame(dt);
        prev = now;
    }
}
