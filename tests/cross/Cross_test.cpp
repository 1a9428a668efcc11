#include <gtest/gtest.h>

#include "engine/MessageEntity.h"
#include "tests/cross/CrossLibraries.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

TEST(CrossLibrary, QueryBuiltInOneLibraryIsAnsweredByASystemInAnother) {
    TempAssets assets;
    assets.Entity("Thing", {{"Cross", {{"Value", 42}}}});
    assets.Scene("Level", {{"a", "Thing"}});
    std::vector<std::unique_ptr<SystemBase>> systems;
    systems.push_back(MakeSystemCross());
    TestEngine test(std::move(systems));
    test.Enter("Level");

    int value = 0;
    EXPECT_TRUE(QueryCrossValue(test.engine.SendMessage, 1, value));
    EXPECT_EQ(value, 42);
    // Consumed by the system of the other library even for an entity without the component.
    EXPECT_FALSE(QueryCrossValue(test.engine.SendMessage, 7, value));
    EXPECT_EQ(test.recorder->Count(MessageId::Query), 0);
}
