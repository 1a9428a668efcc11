#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/ManagerState.h"
#include "engine/SystemBase.h"
#include "tests/support/RecordingManager.h"

/// An engine with a state manager, any further managers, and a recorder last, driven frame by
/// frame by hand: no clock, no window. Build it inside a TempAssets.
class TestEngine {
public:
    /// `systems` become the prototypes, in order.
    explicit TestEngine(std::vector<std::unique_ptr<SystemBase>> systems = {},
                        std::vector<std::unique_ptr<Manager>> extraManagers = {});

    /// Sends one MessageUpdate(dt) and one MessageRender.
    void Frame(float dt = 1.0f / 60.0f);
    void Frames(int count, float dt = 1.0f / 60.0f);
    /// Asks for `state` and runs the frame that enters it.
    void Enter(const std::string& state);
    bool Send(const Message& message) { return engine.HandleMessage(message); }

    /// Runs `callback` on the entity's component of type C in the current state.
    template <class C, class F>
    bool Query(int entity, F&& callback);

    Engine engine;
    ManagerState* states = nullptr;
    RecordingManager* recorder = nullptr;
};

#include "engine/MessageComponent.h"

template <class C, class F>
bool TestEngine::Query(int entity, F&& callback) {
    bool called = false;
    std::function<void(C&)> wrapped = [&](C& component) {
        called = true;
        callback(component);
    };
    engine.HandleMessage(MessageQuery<C>(entity, wrapped));
    return called;
}
