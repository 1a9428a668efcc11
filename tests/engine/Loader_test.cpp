// Scene loading on threads of their own while frames run. Meant to run under ThreadSanitizer.
#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "engine/MessageState.h"
#include "engine/SystemTransform.h"
#include "tests/engine/TestSystems.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

std::vector<std::unique_ptr<SystemBase>> Roster() {
    std::vector<std::unique_ptr<SystemBase>> systems;
    systems.push_back(std::make_unique<SystemHealth>());
    systems.push_back(std::make_unique<SystemTag>());
    systems.push_back(std::make_unique<SystemTransform>());
    return systems;
}

json BigScene(int entities) {
    json scene = json::object();
    for (int i = 0; i < entities; ++i) {
        scene["e" + std::to_string(i)] = {{"Blob", {{"Transform", {{"Translation", {i, 0, 0}}}}}}};
    }
    return scene;
}

int Count(TestEngine& test) {
    int count = -1;
    test.Send(
        MessageQueryContainer<ComponentHealth>([&](std::unordered_map<int, ComponentHealth>& all) {
            count = static_cast<int>(all.size());
        }));
    return count;
}

}  // namespace

TEST(Loader, SeveralStatesLoadWhileFramesRun) {
    TempAssets assets;
    assets.Entity(
        "Blob", {{"Health", json::object()}, {"Tag", {{"Text", "blob"}}}, {"Children", {"Leaf"}}});
    assets.Entity("Leaf", {{"Tag", {{"Text", "leaf"}}}});
    assets.Scene("Home", {{"a", "Blob"}});
    for (const char* name : {"A", "B", "C", "D"}) assets.Scene(name, BigScene(200));

    TestEngine test(Roster());
    test.Enter("Home");
    for (const char* name : {"A", "B", "C", "D"}) test.Send(MessageCreateState(name));
    // Frames of the current state run while four loaders fill their states.
    test.Frames(50);
    EXPECT_EQ(Count(test), 1);

    // Destroyed while its loader may still be running: joined first, then erased.
    test.Send(MessageDestroyState("D"));
    test.Frame();
    EXPECT_FALSE(test.states->HasState("D"));

    for (const char* name : {"A", "B", "C"}) {
        test.Enter(name);
        EXPECT_EQ(Count(test), 200) << name;
        EXPECT_EQ(test.states->GetState(name).entities.nextEntityId, 401) << name;
    }
}

TEST(Loader, FailureOfABackgroundLoadSurfacesWhenEntered) {
    TempAssets assets;
    assets.Scene("Home", json::object());
    assets.Scene("Bad", {{"a", "Absent"}});
    TestEngine test(Roster());
    test.Enter("Home");
    test.Send(MessageCreateState("Bad"));
    test.Frames(5);  // the failure stays on its thread until the state is needed
    EXPECT_EQ(test.states->CurrentState(), "Home");
    EXPECT_THROW(test.Enter("Bad"), DataError);
}

TEST(Loader, EngineGoesAwayWhileLoadersRun) {
    TempAssets assets;
    assets.Entity("Blob", {{"Health", json::object()}});
    assets.Scene("Home", json::object());
    assets.Scene("Big", BigScene(300));
    TestEngine test(Roster());
    test.Enter("Home");
    test.Send(MessageCreateState("Big"));
    // The destructor joins the loader; nothing is left touching freed states.
}
