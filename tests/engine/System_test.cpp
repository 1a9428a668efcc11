#include <gtest/gtest.h>

#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"
#include "engine/SystemTransform.h"
#include "tests/engine/TestSystems.h"

using json = nlohmann::json;

namespace {

bool AddJson(SystemBase& system, int entity, const json& value, const std::string& name) {
    return system.HandleMessage(MessageAddComponentJSON("Level", entity, value, name));
}

}  // namespace

TEST(System, QueriesAreConsumedByTheirOwnTypeEvenWithoutTheEntity) {
    SystemHealth health;
    int calls = 0;
    std::function<void(ComponentHealth&)> count = [&](ComponentHealth&) { ++calls; };
    EXPECT_TRUE(health.HandleMessage(MessageQuery<ComponentHealth>(7, count)));
    EXPECT_EQ(calls, 0);

    std::function<void(ComponentTag&)> other = [&](ComponentTag&) { ++calls; };
    EXPECT_FALSE(health.HandleMessage(MessageQuery<ComponentTag>(7, other)));
    EXPECT_FALSE(health.HandleMessage(MessageQueryContainer<ComponentTag>({})));
    EXPECT_FALSE(health.HandleMessage(MessageAddComponent<ComponentTag>("Level", 7, {})));

    health.components[7].points = 2;
    EXPECT_TRUE(health.HandleMessage(MessageQuery<ComponentHealth>(7, count)));
    EXPECT_EQ(calls, 1);
}

TEST(System, JsonReplacesWholesaleAndTypeErrorsAddNothing) {
    SystemHealth health;
    EXPECT_FALSE(AddJson(health, 1, {{"Points", 4}}, "health"));  // names are case-sensitive
    EXPECT_TRUE(health.components.empty());

    ASSERT_TRUE(AddJson(health, 1, {{"Points", 4}, {"Regen", 2}, {"Unknown", "x"}}, "Health"));
    EXPECT_EQ(health.components.at(1).points, 4);
    EXPECT_FLOAT_EQ(health.components.at(1).regen, 2.0f);

    // A second description starts from the defaults again.
    ASSERT_TRUE(AddJson(health, 1, {{"Alive", false}}, "Health"));
    EXPECT_EQ(health.components.at(1).points, 10);
    EXPECT_FALSE(health.components.at(1).alive);

    // Numbers convert between kinds, booleans included.
    ASSERT_TRUE(AddJson(health, 2, {{"Points", 2.9}, {"Regen", true}}, "Health"));
    EXPECT_EQ(health.components.at(2).points, 2);
    EXPECT_FLOAT_EQ(health.components.at(2).regen, 1.0f);

    EXPECT_THROW(AddJson(health, 3, {{"Points", "many"}}, "Health"), json::type_error);
    EXPECT_THROW(AddJson(health, 1, {{"Alive", 1}}, "Health"), json::type_error);
    EXPECT_THROW(AddJson(health, 3, json::array({1}), "Health"), json::type_error);
    EXPECT_EQ(health.components.count(3), 0u);
    EXPECT_FALSE(health.components.at(1).alive);  // the failed replacement kept the old one
}

TEST(System, DestroyIsPassedOnAndClonesAreIndependent) {
    SystemHealth health;
    health.components[1].points = 1;
    health.components[2].points = 2;
    EXPECT_FALSE(health.HandleMessage(MessageDestroyEntity(1)));
    EXPECT_FALSE(health.HandleMessage(MessageDestroyEntity(99)));
    EXPECT_EQ(health.components.size(), 1u);

    int sent = 0;
    health.SendMessage = [&](const Message&) { return ++sent, false; };
    auto clone = health.Clone();
    auto* copy = dynamic_cast<SystemHealth*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Name(), "Health");
    copy->components[2].points = 50;
    copy->components[3].points = 3;
    EXPECT_EQ(health.components.at(2).points, 2);
    EXPECT_EQ(health.components.count(3), 0u);
    copy->SendMessage(MessageDestroyEntity(1));
    EXPECT_EQ(sent, 1);
}

TEST(System, TransformJsonReadsDegreesAndRejectsShortArrays) {
    SystemTransform transforms;
    ASSERT_TRUE(AddJson(transforms, 1, {{"Rotation", {180, 0, 0}}}, "Transform"));
    const auto& t = transforms.components.at(1);
    EXPECT_FLOAT_EQ(t.rotation.x, 3.1415927f);
    EXPECT_EQ(t.scale, glm::vec3(1.0f));
    EXPECT_THROW(AddJson(transforms, 2, {{"Translation", {1, 2}}}, "Transform"),
                 json::out_of_range);
    EXPECT_THROW(AddJson(transforms, 2, {{"Scale", 3}}, "Transform"), json::type_error);
    EXPECT_THROW(AddJson(transforms, 2, {{"Parent", "one"}}, "Transform"), json::type_error);
}

TEST(System, TransformQueriesSeeAndWriteWorldPositions) {
    SystemTransform transforms;
    transforms.components[1].translation = {10, 5, 0};
    transforms.components[2].translation = {1, 0, 0};
    transforms.components[2].parent = 1;
    transforms.components[3].translation = {0, 1, 0};
    transforms.components[3].parent = 2;

    std::function<void(ComponentTransform&)> look = [](ComponentTransform& t) {
        EXPECT_EQ(t.translation, glm::vec3(11, 6, 0));
        t.translation = {0, 0, 0};
    };
    EXPECT_TRUE(transforms.HandleMessage(MessageQuery<ComponentTransform>(3, look)));
    EXPECT_EQ(transforms.components.at(3).translation, glm::vec3(-11, -5, 0));
    EXPECT_EQ(transforms.components.at(2).translation, glm::vec3(1, 0, 0));

    // A parent without a transform ends the chain there: not read out of bounds, no throw.
    transforms.components[4].translation = {2, 3, 0};
    transforms.components[4].parent = 40;
    std::function<void(ComponentTransform&)> own = [](ComponentTransform& t) {
        EXPECT_EQ(t.translation, glm::vec3(2, 3, 0));
    };
    EXPECT_TRUE(transforms.HandleMessage(MessageQuery<ComponentTransform>(4, own)));
    EXPECT_EQ(transforms.components.at(4).translation, glm::vec3(2, 3, 0));
    // A cycle in bad data ends instead of hanging.
    transforms.components[5].parent = 6;
    transforms.components[6].parent = 5;
    std::function<void(ComponentTransform&)> nothing = [](ComponentTransform&) {};
    EXPECT_TRUE(transforms.HandleMessage(MessageQuery<ComponentTransform>(5, nothing)));
}
