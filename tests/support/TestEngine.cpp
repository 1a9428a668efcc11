#include "tests/support/TestEngine.h"

#include "engine/MessageFrame.h"
#include "engine/MessageState.h"

TestEngine::TestEngine(std::vector<std::unique_ptr<SystemBase>> systems,
                       std::vector<std::unique_ptr<Manager>> extraManagers) {
    auto stateManager = std::make_unique<ManagerState>();
    states = stateManager.get();
    engine.AddManager(std::move(stateManager));
    for (auto& manager : extraManagers) engine.AddManager(std::move(manager));
    auto recording = std::make_unique<RecordingManager>();
    recorder = recording.get();
    engine.AddManager(std::move(recording));
    for (auto& system : systems) engine.HandleMessage(MessageAddSystem(std::move(system)));
}

void TestEngine::Frame(float dt) {
    engine.Frame(dt);
}

void TestEngine::Frames(int count, float dt) {
    for (int i = 0; i < count; ++i) Frame(dt);
}

void TestEngine::Enter(const std::string& state) {
    engine.HandleMessage(MessageChangeState(state));
    Frame();
}
