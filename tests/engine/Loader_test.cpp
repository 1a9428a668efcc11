// Scene loading on threads of their own while frames run. Meant to run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>

#include "engine/DataError.h"
#include "engine/MessageState.h"
#include "engine/SystemTransform.h"
#include "tests/engine/TestSystems.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

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

    TestEngine test(TaggedRoster());
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
    TestEngine test(TaggedRoster());
    test.Enter("Home");
    test.Send(MessageCreateState("Bad"));
    test.Frames(5);  // the failure stays on its thread until the state is needed
    EXPECT_EQ(test.states->CurrentState(), "Home");
    EXPECT_THROW(test.Enter("Bad"), DataError);
}

/// Counts its live copies: every state holds clones of the prototypes, one being loaded too.
class Counted : public SystemBase {
public:
    Counted() { ++live; }
    Counted(const Counted&) : SystemBase() { ++live; }
    ~Counted() override { --live; }
    std::unique_ptr<SystemBase> Clone() const override { return std::make_unique<Counted>(*this); }
    std::string_view Name() const override { return "Counted"; }
    bool HandleMessage(const Message&) override { return false; }
    static inline std::atomic<int> live{0};
};

TEST(Loader, EngineGoesAwayWhileLoadersRun) {
    TempAssets assets;
    assets.Entity("Blob", {{"Health", json::object()}});
    assets.Scene("Home", json::object());
    assets.Scene("Big", BigScene(300));
    auto systems = TaggedRoster();
    systems.push_back(std::make_unique<Counted>());
    auto test = std::make_unique<TestEngine>(std::move(systems));
    test->Enter("Home");
    test->Send(MessageCreateState("Big"));
    // The load runs on its own thread: the engine stays in Home with Big on its way.
    EXPECT_EQ(test->states->CurrentState(), "Home");
    EXPECT_TRUE(test->states->HasState("Big"));
    EXPECT_GE(Counted::live, 2);  // the prototype and Home's copy at least
    // The destructor joins the loader, and every state goes with the engine, the one being
    // loaded too (the sanitizer builds also see that nothing touches a freed state).
    test.reset();
    EXPECT_EQ(Counted::live, 0);
}
