#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"
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

}  // namespace

TEST(Entity, ScenesBuildEntitiesWithOverridesAndChildren) {
    TempAssets assets;
    assets.Entity("Hero", {{"Health", {{"Points", 3}}},
                           {"Tag", {{"Text", "hero"}}},
                           {"Children", json::array({"Arm"})},
                           {"Transform", {{"Translation", {10, 5, 0}}}}});
    assets.Entity("Arm", {{"Transform", {{"Translation", {1, 0, 0}}, {"Parent", 99}}}});
    assets.Scene("Level", {{"a", "Hero"}, {"b", {{"Hero", {{"Tag", nullptr}}}}}});

    TestEngine test(Roster());
    std::vector<int> births;
    test.recorder->onMessage = [&](const Message& m) {
        if (m.TypeId() == MessageId::EntityBirth) {
            births.push_back(static_cast<const MessageEntityBirth&>(m).entity);
        }
    };
    test.Enter("Level");
    test.Frame();

    // Ids in creation order, children after their parent; a parent's birth comes first.
    EXPECT_EQ(births, (std::vector<int>{3, 4, 1, 2}));
    EXPECT_TRUE(test.Query<ComponentTag>(1, [](ComponentTag& t) { EXPECT_EQ(t.text, "hero"); }));
    // The null override removed the Tag of the second hero only.
    EXPECT_FALSE(test.Query<ComponentTag>(3, [](ComponentTag&) {}));
    EXPECT_TRUE(test.Query<ComponentHealth>(3, [](ComponentHealth& h) { EXPECT_EQ(h.points, 3); }));
    // The arm's parent is patched to the hero, whatever its own file says.
    EXPECT_TRUE(test.Query<ComponentTransform>(2, [](ComponentTransform& t) {
        EXPECT_EQ(t.parent, 1);
        EXPECT_FLOAT_EQ(t.translation.x, 11.0f);
        EXPECT_FLOAT_EQ(t.translation.y, 5.0f);
        t.translation = {20.0f, 5.0f, 0.0f};
    }));
    test.engine.HandleMessage(MessageQueryContainer<ComponentTransform>(
        [](std::unordered_map<int, ComponentTransform>& all) {
            EXPECT_FLOAT_EQ(all.at(2).translation.x, 10.0f);
            EXPECT_FLOAT_EQ(all.at(2).translation.y, 0.0f);
        }));
}
