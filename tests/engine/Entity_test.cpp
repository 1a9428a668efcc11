#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/DataError.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"
#include "engine/SystemTransform.h"
#include "tests/engine/TestSystems.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

TEST(Entity, ScenesBuildEntitiesWithOverridesAndChildren) {
    TempAssets assets;
    assets.Entity("Hero", {{"Health", {{"Points", 3}}},
                           {"Tag", {{"Text", "hero"}}},
                           {"Children", json::array({"Arm"})},
                           {"Transform", {{"Translation", {10, 5, 0}}}}});
    assets.Entity("Arm", {{"Transform", {{"Translation", {1, 0, 0}}, {"Parent", 99}}}});
    assets.Scene("Level", {{"a", "Hero"}, {"b", {{"Hero", {{"Tag", nullptr}}}}}});

    TestEngine test(TaggedRoster());
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
    EXPECT_FALSE(test.Has<ComponentTag>(3));
    EXPECT_TRUE(test.Query<ComponentHealth>(3, [](ComponentHealth& h) { EXPECT_EQ(h.points, 3); }));
    // The arm's parent is patched to the hero, whatever its own file says.
    EXPECT_TRUE(test.Query<ComponentTransform>(2, [](ComponentTransform& t) {
        EXPECT_EQ(t.parent, 1);
        EXPECT_FLOAT_EQ(t.translation.x, 11.0f);
        EXPECT_FLOAT_EQ(t.translation.y, 5.0f);
        t.translation = {20.0f, 5.0f, 0.0f};
    }));
    glm::vec3 stored{-1.0f};
    test.Send(MessageQueryContainer<ComponentTransform>(
        [&](std::unordered_map<int, ComponentTransform>& all) { stored = all.at(2).translation; }));
    EXPECT_FLOAT_EQ(stored.x, 10.0f);
    EXPECT_FLOAT_EQ(stored.y, 0.0f);
}

TEST(Entity, AComponentNameNoSystemKnowsIsIgnoredAndTheRestLoads) {
    TempAssets assets;
    assets.Entity("Odd", {{"Health", {{"Points", 4}}},
                          {"Helth", {{"Points", 1}}},
                          {"Note", "not even an object"},
                          {"Transform", json::object()}});
    assets.Scene("Level", {{"a", "Odd"}});
    TestEngine test(TaggedRoster());
    ASSERT_NO_THROW(test.Enter("Level"));
    EXPECT_EQ(test.states->GetState("Level").entities.entityNames,
              (std::unordered_map<int, std::string>{{1, "Odd"}}));
    const auto health = test.Get<ComponentHealth>(1);
    ASSERT_TRUE(health);
    EXPECT_EQ(health->points, 4) << "the misspelt key must not reach the real component";
    EXPECT_TRUE(test.Has<ComponentTransform>(1));
}

TEST(Entity, ABadParentEndsTheChainAndATextParentIsNamed) {
    TempAssets assets;
    assets.Entity("Orphan", {{"Transform", {{"Translation", {1, 2, 0}}, {"Parent", 40}}}});
    assets.Entity("Typed", {{"Transform", {{"Parent", "Orphan"}}}});
    assets.Scene("Level", {{"a", "Orphan"}});
    assets.Scene("Typed", {{"a", "Typed"}});
    TestEngine test(TaggedRoster());
    // A parent id is only a number until it is followed: loading succeeds.
    ASSERT_NO_THROW(test.Enter("Level"));
    // Following it ends the chain there (LoaderFaults covers the warning): the game goes on.
    ASSERT_TRUE(test.Query<ComponentTransform>(
        1, [](ComponentTransform& t) { EXPECT_EQ(t.translation, glm::vec3(1.0f, 2.0f, 0.0f)); }));
    // The stored values stay readable for tools that do not follow parents.
    bool listed = false;
    test.Send(MessageQueryContainer<ComponentTransform>(
        [&](std::unordered_map<int, ComponentTransform>& all) {
            listed = all.count(1) == 1 && all.at(1).parent == 40;
        }));
    EXPECT_TRUE(listed);

    // A parent that is not a number fails the load, naming the file and the component.
    try {
        test.Enter("Typed");
        ADD_FAILURE() << "a text parent was accepted";
    } catch (const DataError& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("Typed.json: \"Transform\""), std::string::npos) << text;
        EXPECT_NE(text.find("type must be number"), std::string::npos) << text;
    }
}
