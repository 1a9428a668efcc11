// Inputs that used to crash the loaders (found by fuzzing and by reading them): each must now
// be a data error naming the file, or be ignored with one warning.
#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "engine/JsonRead.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "engine/SystemTransform.h"
#include "tests/engine/TestSystems.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

/// The DataError text of entering `scene` in a fresh engine, or "" when it loads.
std::string EnterError(const std::string& scene) {
    TestEngine test(HealthRoster());
    try {
        test.Enter(scene);
    } catch (const DataError& e) {
        return e.what();
    }
    return "";
}

int Occurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

TEST(LoaderFaults, ChildrenThatContainThemselvesOrNestTooDeepAreDataErrors) {
    TempAssets assets;
    assets.Entity("Self", {{"Health", json::object()}, {"Children", {"Self"}}});
    assets.Entity("Ping", {{"Children", {"Pong"}}});
    assets.Entity("Pong", {{"Children", {{{"Ping", json::object()}}}}});
    // Inline children have no file to repeat, only depth.
    json deep = {{"Health", json::object()}};
    for (int i = 0; i < 200; ++i) deep = {{"Children", {{{"", deep}}}}};
    assets.Scene("Self", {{"a", "Self"}});
    assets.Scene("Cycle", {{"a", "Ping"}});
    assets.Scene("Deep", {{"a", {{"", deep}}}});
    assets.Entity("Fine", {{"Children", {"Leaf", "Leaf"}}});
    assets.Entity("Leaf", {{"Health", json::object()}});
    assets.Scene("Fine", {{"a", "Fine"}, {"b", "Leaf"}});

    const std::string self = EnterError("Self");
    EXPECT_NE(self.find("Assets/Data/Entity/Self.json: /Children: \"Self\" contains itself"),
              std::string::npos)
        << self;
    const std::string cycle = EnterError("Cycle");
    EXPECT_NE(cycle.find("Ping -> Pong -> Ping"), std::string::npos) << cycle;
    const std::string depth = EnterError("Deep");
    EXPECT_NE(depth.find("nested more than 64 levels"), std::string::npos) << depth;
    // The same file twice among siblings, or in another branch, is no cycle.
    EXPECT_EQ(EnterError("Fine"), "");
}

TEST(LoaderFaults, AParentWithoutATransformIsIgnoredWithOneWarning) {
    TempAssets assets;
    assets.Entity("Orphan", {{"Transform", {{"Translation", {1, 2, 0}}, {"Parent", 999}}}});
    assets.Scene("Level", {{"a", "Orphan"}, {"b", "Orphan"}});
    TestEngine test(HealthRoster());
    testing::internal::CaptureStderr();
    test.Enter("Level");
    glm::vec3 seen{0.0f};
    for (int id : {1, 2}) {
        ASSERT_TRUE(test.Query<ComponentTransform>(id, [&](ComponentTransform& t) {
            seen = t.translation;
            t.translation.x += 1.0f;
        }));
    }
    test.Frames(2);
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(seen, glm::vec3(1.0f, 2.0f, 0.0f));
    EXPECT_LE(Occurrences(warnings, "parent entity 999"), 1) << warnings;
    // The chain ends at the missing parent: what the callback wrote is kept as it was written.
    ASSERT_TRUE(test.Query<ComponentTransform>(
        1, [&](ComponentTransform& t) { EXPECT_FLOAT_EQ(t.translation.x, 2.0f); }));
}

TEST(LoaderFaults, IntegersTooLargeForTheirFieldAreDataErrorsNamingFileAndKey) {
    TempAssets assets;
    assets.Entity("Huge", {{"Transform", {{"Parent", 1e20}}}});
    assets.Entity("Negative", {{"Health", {{"Points", -1e12}}}});
    assets.Entity("Sane", {{"Health", {{"Points", 2147483647.0}}}});
    assets.Scene("Huge", {{"a", "Huge"}});
    assets.Scene("Negative", {{"a", "Negative"}});
    assets.Scene("Sane", {{"a", "Sane"}});

    const std::string huge = EnterError("Huge");
    EXPECT_NE(huge.find("Assets/Data/Entity/Huge.json: \"Transform\": "), std::string::npos)
        << huge;
    EXPECT_NE(huge.find("out of range"), std::string::npos) << huge;
    EXPECT_NE(EnterError("Negative").find("Negative.json: \"Health\""), std::string::npos);
    EXPECT_EQ(EnterError("Sane"), "");

    // The reader itself, for every integer width the components use.
    EXPECT_EQ(json_read::Integer<int>(json(-2147483648.0)), -2147483647 - 1);
    EXPECT_EQ(json_read::Integer<int>(json(3.9)), 3);
    EXPECT_THROW(json_read::Integer<int>(json(2147483648.0)), json::out_of_range);
    EXPECT_THROW(json_read::Integer<int>(json(std::uint64_t{1} << 40)), json::out_of_range);
    EXPECT_THROW(json_read::Integer<unsigned>(json(-1)), json::out_of_range);
    EXPECT_THROW(json_read::Integer<std::int64_t>(json(1e30)), json::out_of_range);
    EXPECT_THROW(json_read::Integer<int>(json("7")), json::type_error);
}

TEST(LoaderFaults, AnUnknownComponentIsReportedOnceWithItsFileAndKey) {
    TempAssets assets;
    assets.Entity("Typo", {{"Health", json::object()}, {"Healht", json::object()}});
    assets.Scene("Level", {{"a", "Typo"}, {"b", "Typo"}});
    TestEngine test(HealthRoster());
    testing::internal::CaptureStderr();
    test.Enter("Level");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Occurrences(warnings, "Assets/Data/Entity/Typo.json: /Healht"), 1) << warnings;
    EXPECT_EQ(Occurrences(warnings, "/Health"), 0) << warnings;
}

TEST(LoaderFaults, TheCheckpointIsNeverEnteredAsAScene) {
    {
        TempAssets assets;
        assets.Index({{"F", "Checkpoint"}});
        try {
            ManagerState manager;
            ADD_FAILURE() << "a hotkey to the checkpoint was accepted";
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find("Index.json: /F"), std::string::npos) << e.what();
        }
    }
    // A state change that names it anyway (say, a door) must not free the state in play:
    // saving and restoring while the checkpoint is current keep it intact.
    TempAssets assets;
    assets.Entity("Blob", {{"Health", {{"Points", 3}}}});
    assets.Scene("Level", {{"a", "Blob"}});
    TestEngine test(HealthRoster());
    test.Enter("Level");
    test.Send(MessageDestroyState(""));
    test.Send(MessageChangeState(ManagerState::kCheckpoint));
    test.Frame();
    EXPECT_EQ(test.states->CurrentState(), ManagerState::kCheckpoint);
    test.Send(MessageKey(46, MessageKey::kPressed, 0, true));
    test.Send(MessageKey(44, MessageKey::kPressed, 0, true));
    test.Frames(2);
    ASSERT_TRUE(test.Query<ComponentHealth>(1, [](ComponentHealth& h) { EXPECT_EQ(h.points, 3); }));
}
