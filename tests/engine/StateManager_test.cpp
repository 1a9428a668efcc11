#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "engine/MessageEntity.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemPreload.h"
#include "engine/SystemTransform.h"
#include "tests/engine/TestSystems.h"
#include "tests/support/KeptFields.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

/// The engine roster with the preloader after it.
std::vector<std::unique_ptr<SystemBase>> PreloadRoster() {
    return MakeRoster<SystemHealth, SystemTransform, SystemPreload>();
}

int HealthCount(TestEngine& test) {
    int count = -1;
    test.Send(
        MessageQueryContainer<ComponentHealth>([&](std::unordered_map<int, ComponentHealth>& all) {
            count = static_cast<int>(all.size());
        }));
    return count;
}

void Key(TestEngine& test, int key, int action, bool debug) {
    test.Send(MessageKey(key, action, 0, debug));
}

}  // namespace

TEST(StateManager, FirstStateEntersOnFirstUpdateAndIsCheckpointed) {
    TempAssets assets;
    assets.Entity("Blob", {{"Health", json::object()}});
    assets.Scene("Splash", {{"a", "Blob"}, {"b", "Blob"}, {"skipped", 5}});
    TestEngine test(PreloadRoster());
    test.Send(MessageChangeState("Splash"));
    EXPECT_EQ(test.states->CurrentState(), "");
    EXPECT_EQ(test.recorder->Fields(MessageId::ChangeState), (std::vector<Sent>{{"Splash"}}));

    test.Frame();
    EXPECT_EQ(test.states->CurrentState(), "Splash");
    EXPECT_TRUE(test.states->HasState("Checkpoint"));
    EXPECT_EQ(HealthCount(test), 2);
    // The file was read once for both entities, which got consecutive ids.
    EXPECT_EQ(test.states->GetState("Splash").entities.entityFiles.count("Blob"), 1u);
    EXPECT_EQ(test.states->GetState("Splash").entities.entityNames,
              (std::unordered_map<int, std::string>{{1, "Blob"}, {2, "Blob"}}));
}

TEST(StateManager, DestroyedStateReloadsFromItsScene) {
    TempAssets assets;
    assets.Entity("Blob", {{"Health", json::object()}});
    assets.Scene("Level", {{"a", "Blob"}});
    TestEngine test(PreloadRoster());
    test.Enter("Level");
    test.Send(MessageDestroyEntity(1));
    EXPECT_EQ(HealthCount(test), 1);  // still readable until the next update
    test.Frame();
    EXPECT_EQ(HealthCount(test), 0);

    test.Send(MessageDestroyState(""));
    test.Send(MessageDestroyState(""));  // the second finds nothing left to erase
    test.Frame();
    EXPECT_EQ(test.states->CurrentState(), "Level");
    EXPECT_EQ(HealthCount(test), 1);
}

TEST(StateManager, HotkeysNeedTheDebugFlag) {
    TempAssets assets;
    assets.Index({{"F1", "Other"}, {"_1", "Level"}});
    assets.Scene("Level", json::object());
    assets.Scene("Other", json::object());
    TestEngine test(PreloadRoster());
    test.Enter("Level");

    Key(test, 290, MessageKey::kPressed, false);
    test.Frame();
    EXPECT_EQ(test.states->CurrentState(), "Level");
    EXPECT_EQ(test.recorder->Count(MessageId::Key), 1);  // forwarded all the same

    test.recorder->Clear();
    Key(test, 290, MessageKey::kReleased, true);  // unpauses, changes nothing else
    EXPECT_EQ(test.recorder->Fields(MessageId::Trigger), (std::vector<Sent>{{"Pause", 0}}));
    Key(test, 290, MessageKey::kPressed, true);
    test.Frame();
    EXPECT_EQ(test.states->CurrentState(), "Other");
    EXPECT_FALSE(test.states->HasState("Level"));
}

TEST(StateManager, UnknownHotkeyNameIsReported) {
    TempAssets assets;
    assets.Index({{"F26", "Level"}});
    EXPECT_THROW(ManagerState(), DataError);
    assets.Index({{"F1", 3}});
    EXPECT_THROW(ManagerState(), DataError);
    assets.Write("Assets/Data/Index.json", "{ not json");
    try {
        ManagerState manager;
        FAIL() << "malformed index accepted";
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("Index.json"), std::string::npos);
    }
}

TEST(StateManager, CheckpointRestoreAnnouncesBirthsAgain) {
    TempAssets assets;
    assets.Entity("Blob", {{"Health", {{"Points", 5}}}});
    assets.Scene("Level", {{"a", "Blob"}});
    TestEngine test(PreloadRoster());
    // The checkpoint is saved before the entering update announces the births.
    test.Enter("Level");
    EXPECT_EQ(test.recorder->Count(MessageId::EntityBirth), 1);
    test.Frame();
    EXPECT_EQ(test.recorder->Count(MessageId::EntityBirth), 1);

    ASSERT_TRUE(test.Query<ComponentHealth>(1, [](ComponentHealth& h) { h.points = 1; }));
    test.recorder->Clear();
    Key(test, 44, MessageKey::kPressed, true);  // COMMA: restore
    test.Frame();
    EXPECT_EQ(test.recorder->Fields(MessageId::Trigger),
              (std::vector<Sent>{{"Checkpoint", 0}, {"Checkpoint Restore", 1}, {"Checkpoint", 1}}));
    EXPECT_EQ(test.recorder->Count(MessageId::EntityBirth), 1);
    EXPECT_EQ(test.Get<ComponentHealth>(1).value().points, 5);

    // PERIOD saves the changed state; a later restore brings back that copy, not the first.
    ASSERT_TRUE(test.Query<ComponentHealth>(1, [](ComponentHealth& h) { h.points = 2; }));
    Key(test, 46, MessageKey::kPressed, true);
    ASSERT_TRUE(test.Query<ComponentHealth>(1, [](ComponentHealth& h) { h.points = 3; }));
    test.Send(MessageTrigger("Checkpoint", false));
    test.Frame();
    EXPECT_EQ(test.Get<ComponentHealth>(1).value().points, 2);
    // A copied state goes on numbering from its source.
    EXPECT_EQ(test.states->GetState("Level").entities.nextEntityId, 2);
    // Letter case matters for the checkpoint trigger.
    test.Send(MessageTrigger("checkpoint", false));
    ASSERT_TRUE(test.Query<ComponentHealth>(1, [](ComponentHealth& h) { h.points = 9; }));
    test.Frame();
    EXPECT_EQ(test.Get<ComponentHealth>(1).value().points, 9);
}

TEST(StateManager, ChangingStateKeepsTheOldOneLoaded) {
    TempAssets assets;
    assets.Entity("Blob", {{"Health", json::object()}});
    assets.Scene("A", {{"a", "Blob"}});
    assets.Scene("B", {{"a", "Blob"}, {"b", "Blob"}});
    TestEngine test(PreloadRoster());
    test.Enter("A");
    test.Enter("B");
    EXPECT_EQ(HealthCount(test), 2);
    test.Enter("A");
    EXPECT_EQ(HealthCount(test), 1);
    EXPECT_TRUE(test.states->HasState("B"));
    test.recorder->Clear();
    test.Enter("A");  // already current: nothing happens, not even a checkpoint
    EXPECT_EQ(test.recorder->Count(MessageId::Trigger), 0);
}

TEST(StateManager, PreloadOnTriggerAndBirth) {
    TempAssets assets;
    assets.Entity("Loader", {{"Preload", {{"States", {"Next"}}, {"On Create", true}}}});
    assets.Entity("Waiter", {{"Preload", {{"States", {"Later"}}, {"Trigger", "Go"}}}});
    assets.Entity("Blank", {{"Preload", {{"States", {"Never"}}}}});
    assets.Scene("Level", {{"a", "Loader"}, {"b", "Waiter"}, {"c", "Blank"}});
    assets.Scene("Next", json::object());
    assets.Scene("Later", json::object());
    TestEngine test(PreloadRoster());
    test.Send(MessageChangeState("Level"));
    EXPECT_FALSE(test.states->HasState("Next"));
    test.Frame();  // enters and announces the births
    EXPECT_TRUE(test.states->HasState("Next"));
    EXPECT_FALSE(test.states->HasState("Later"));
    test.Send(MessageTrigger("", true));
    EXPECT_FALSE(test.states->HasState("Never"));
    test.Send(MessageTrigger("Go", false));
    EXPECT_TRUE(test.states->HasState("Later"));
    test.Send(MessageTrigger("Go", true));  // repeats are harmless
    test.Enter("Later");
    EXPECT_EQ(test.states->CurrentState(), "Later");
}

TEST(StateManager, BadDataIsRaisedOnTheMainThreadNamingTheFile) {
    TempAssets assets;
    assets.Scene("Missing", {{"a", "Ghost"}});
    assets.Write("Assets/Data/Scene/Broken.json", "{ \"a\": ");
    assets.Entity("Wrong", {{"Health", {{"Points", "lots"}}}});
    assets.Scene("Typed", {{"a", "Wrong"}});
    auto message = [](auto&& enter) -> std::string {
        try {
            enter();
        } catch (const DataError& e) {
            return e.what();
        }
        return "no error";
    };
    {
        TestEngine test(PreloadRoster());
        const auto text = message([&] { test.Enter("Missing"); });
        EXPECT_NE(text.find("Assets/Data/Entity/Ghost.json"), std::string::npos) << text;
    }
    {
        TestEngine test(PreloadRoster());
        const auto text = message([&] { test.Enter("Broken"); });
        EXPECT_NE(text.find("Assets/Data/Scene/Broken.json"), std::string::npos) << text;
        EXPECT_NE(text.find("parse_error"), std::string::npos) << text;
    }
    {
        TestEngine test(PreloadRoster());
        const auto text = message([&] { test.Enter("Typed"); });
        EXPECT_NE(text.find("Wrong.json: \"Health\""), std::string::npos) << text;
        EXPECT_NE(text.find("type must be number"), std::string::npos) << text;
    }
    {
        TestEngine test(PreloadRoster());
        const auto text = message([&] { test.Enter("Nowhere"); });
        EXPECT_NE(text.find("Assets/Data/Scene/Nowhere.json"), std::string::npos) << text;
    }
}
