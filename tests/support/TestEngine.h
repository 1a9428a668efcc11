#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "engine/ManagerState.h"
#include "engine/MessageComponent.h"
#include "engine/SystemBase.h"
#include "tests/support/ComponentName.h"
#include "tests/support/RecordingManager.h"

/// A roster of default-made systems, in the order given.
template <class... Systems>
std::vector<std::unique_ptr<SystemBase>> MakeRoster() {
    std::vector<std::unique_ptr<SystemBase>> systems;
    (systems.push_back(std::make_unique<Systems>()), ...);
    return systems;
}

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

    /// Runs `callback` on the entity's component of type C in the current state. A missing
    /// component fails the test, naming the type and the entity; the result says whether the
    /// callback ran, so `ASSERT_TRUE(test.Query<C>(...))` stops a test that cannot go on.
    template <class C, class F>
    [[nodiscard]] bool Query(int entity, F&& callback);
    /// As Query, but a missing component is no failure: for tests where absence is expected.
    template <class C, class F>
    [[nodiscard]] bool QueryIfPresent(int entity, F&& callback);
    /// Whether the entity has a component of type C; says nothing either way by itself.
    template <class C>
    [[nodiscard]] bool Has(int entity) {
        return QueryIfPresent<C>(entity, [](C&) {});
    }
    /// A copy of the entity's component of type C; empty, and the test failed, when missing.
    template <class C>
    [[nodiscard]] std::optional<C> Get(int entity);

    Engine engine;
    ManagerState* states = nullptr;
    RecordingManager* recorder = nullptr;
};

template <class C, class F>
bool TestEngine::QueryIfPresent(int entity, F&& callback) {
    bool called = false;
    const std::function<void(C&)> wrapped = [&](C& component) {
        called = true;
        callback(component);
    };
    engine.HandleMessage(MessageQuery<C>(entity, wrapped));
    return called;
}

template <class C, class F>
bool TestEngine::Query(int entity, F&& callback) {
    const bool found = QueryIfPresent<C>(entity, std::forward<F>(callback));
    if (!found) {
        ADD_FAILURE() << "entity " << entity << " has no " << ComponentName<C>() << " component";
    }
    return found;
}

template <class C>
std::optional<C> TestEngine::Get(int entity) {
    std::optional<C> copy;
    if (!Query<C>(entity, [&](C& component) { copy = component; })) return std::nullopt;
    return copy;
}
