#include <cmath>
#include <optional>

#include <gtest/gtest.h>

#include "engine/DataError.h"
#include "engine/SystemTransform.h"
#include "services/animation/VornAnimation.h"
#include "services/graphics/VornGraphics.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

using json = nlohmann::json;

namespace {

// Stands in for the rendering service's sprite storage.
class TestSprites : public System<ComponentSprite, TestSprites> {};

// One animated entity (id 1) in scene "Level", entered and given its first update.
struct Animated {
    explicit Animated(const json& animation) {
        assets.Entity("Thing", {{"Animation", animation},
                                {"Sprite", {{"Texture", "Plain"}}},
                                {"Transform", json::object()}});
        assets.Scene("Level", {{"thing", "Thing"}});
        std::vector<std::unique_ptr<SystemBase>> systems;
        systems.push_back(std::make_unique<SystemAnimation>());
        systems.push_back(std::make_unique<TestSprites>());
        systems.push_back(std::make_unique<SystemTransform>());
        test = std::make_unique<TestEngine>(std::move(systems));
        test->Enter("Level");
    }

    std::optional<ComponentSprite> Sprite() { return test->Get<ComponentSprite>(1); }
    glm::ivec2 Cell() { return Sprite().value().index; }
    void Play(std::string_view name, bool loop, bool queued = false, float delay = 0.0f,
              float speed = 1.0f) {
        test->Send(MessageSetAnimation(1, name, loop, queued, delay, speed));
    }
    // Steps of 1/8 s keep every clock value exact in binary.
    void Step(int eighths) { test->Frames(eighths, 0.125f); }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
};

// Clips at 4 cells per second: each cell lasts two steps of 1/8 s.
const json kClips = {{"Dimensions", {4, 2}},
                     {"Frame Rate", 4},
                     {"Clips",
                      {{"Idle", {{"First", {2, 0}}, {"Count", 3}}},
                       {"Shoot", {{"Frames", {{0, 1}, {1, 1}}}, {"Texture", "Arm/Shoot"}}},
                       {"Wave", {{"Frames", {{3, 1}}}, {"Frame Rate", 8}}}}}};

}  // namespace

TEST(Animation, StartClipWritesTextureSheetAndWrappingCells) {
    json data = kClips;
    data["Texture"] = "Arm/Sheet";
    data["Start"] = "Idle";
    Animated a(data);
    a.test->Frame(0.0f);
    ComponentSprite sprite = a.Sprite().value();
    EXPECT_EQ(sprite.texture, "Arm/Sheet");
    EXPECT_EQ(sprite.dimensions, glm::vec2(4, 2));
    EXPECT_EQ(sprite.index, glm::ivec2(2, 0));
    // "First"/"Count" runs on into the next row after the last column.
    a.Step(2);
    EXPECT_EQ(a.Cell(), glm::ivec2(3, 0));
    a.Step(2);
    EXPECT_EQ(a.Cell(), glm::ivec2(0, 1));
    a.Step(2);
    EXPECT_EQ(a.Cell(), glm::ivec2(2, 0));  // looped
    // A clip with its own texture brings it along.
    a.Play("Shoot", false);
    a.test->Frame(0.0f);
    EXPECT_EQ(a.Sprite().value().texture, "Arm/Shoot");
    EXPECT_EQ(a.Cell(), glm::ivec2(0, 1));
}

TEST(Animation, OneShotHoldsLastCellAndPausedTimeStandsStill) {
    Animated a(kClips);
    a.test->Frame(0.0f);
    EXPECT_EQ(a.Cell(), glm::ivec2(0, 0));  // nothing plays until asked
    a.Play("Shoot", false);
    a.Step(1);
    EXPECT_EQ(a.Cell(), glm::ivec2(0, 1));
    a.Step(1);
    EXPECT_EQ(a.Cell(), glm::ivec2(1, 1));
    a.Step(10);
    EXPECT_EQ(a.Cell(), glm::ivec2(1, 1));
    // Repeating the request for the current clip does not restart it.
    a.Play("Shoot", false);
    a.Step(1);
    EXPECT_EQ(a.Cell(), glm::ivec2(1, 1));

    a.Play("Idle", true);
    a.Step(1);
    a.test->Frames(50, 0.0f);  // the engine's paused updates
    EXPECT_EQ(a.Cell(), glm::ivec2(2, 0));
    a.Step(1);
    EXPECT_EQ(a.Cell(), glm::ivec2(3, 0));
}

TEST(Animation, QueuedRequestFollowsTheEndOfTheClipAfterItsDelay) {
    Animated a(kClips);
    a.Play("Shoot", false);
    a.Play("Idle", true, true, 0.25f);
    a.Play("Idle", true, true, 0.25f);  // the same request is not queued twice
    // Shoot lasts 0.5 s, then its last cell is held for the 0.25 s delay.
    a.Step(4);
    EXPECT_EQ(a.Cell(), glm::ivec2(1, 1));
    a.Step(1);
    EXPECT_EQ(a.Cell(), glm::ivec2(1, 1));
    a.Step(1);
    EXPECT_EQ(a.Cell(), glm::ivec2(2, 0));  // Idle started, exactly on time
    a.Step(2);
    EXPECT_EQ(a.Cell(), glm::ivec2(3, 0));
    // Idle loops forever now: the duplicate was dropped, not played a second time.
    a.Step(40);
    const auto idle = a.test->Get<ComponentAnimation>(1);
    ASSERT_TRUE(idle);
    EXPECT_EQ(idle->current, "Idle");
    EXPECT_TRUE(idle->queue.empty());

    // Behind a looping clip the request waits for the end of the running cycle (0.75 s).
    a.Play("Idle", true);  // restart is not needed: same clip keeps its clock (at 0 now)
    a.Step(2);
    a.Play("Wave", false, true);
    a.Step(3);
    EXPECT_EQ(a.Cell(), glm::ivec2(0, 1));
    a.Step(1);
    EXPECT_EQ(a.Cell(), glm::ivec2(3, 1));

    // A plain request drops what was queued.
    a.Play("Shoot", false);
    a.Play("Idle", true, true);
    a.Play("Shoot", false);
    a.Step(20);
    EXPECT_EQ(a.Cell(), glm::ivec2(1, 1));
}

TEST(Animation, SpeedZeroHoldsTheStartUntilPlayedOn) {
    Animated a(kClips);
    a.Play("Idle", false, false, 0.0f, 0.0f);
    a.Step(20);
    EXPECT_EQ(a.Cell(), glm::ivec2(2, 0));
    // A queued request behind a held clip never starts.
    a.Play("Shoot", false, true);
    a.Step(20);
    EXPECT_EQ(a.Cell(), glm::ivec2(2, 0));
    a.Play("Idle", false, false, 0.0f, 1.0f);
    a.Step(2);
    EXPECT_EQ(a.Cell(), glm::ivec2(3, 0));
    // Double speed: one step per cell; negative speeds hold like 0.
    a.Play("Shoot", true, false, 0.0f, 2.0f);
    a.Step(1);
    EXPECT_EQ(a.Cell(), glm::ivec2(1, 1));
    a.Play("Shoot", true, false, 0.0f, -3.0f);
    a.Step(5);
    EXPECT_EQ(a.Cell(), glm::ivec2(1, 1));
}

TEST(Animation, UnknownClipKeepsTheCurrentOneAndWarnsOncePerName) {
    Animated a(kClips);
    a.Play("Idle", true);
    a.Step(2);
    testing::internal::CaptureStderr();
    a.Play("Missing", false);
    a.Play("Missing", false);
    a.Play("Other", false);
    const std::string warnings = testing::internal::GetCapturedStderr();
    a.Step(2);
    EXPECT_EQ(a.Cell(), glm::ivec2(0, 1));
    EXPECT_EQ(warnings.find("Missing"), warnings.rfind("Missing"));
    EXPECT_NE(warnings.find("Missing"), std::string::npos);
    EXPECT_NE(warnings.find("Other"), std::string::npos);
}

TEST(Animation, BonesAreReadWrittenAndOverriddenPerClip) {
    json data = kClips;
    data["Bones"] = {{"Muzzle", {0.5, 0.1}}, {"Aim", {1, 0}}};
    data["Clips"]["Shoot"]["Bones"] = {{"Muzzle", {0.7, 0.2}}};
    data["Aim Bone"] = "Aim";
    Animated a(data);
    auto bone = [&](std::string_view name) {
        glm::vec2 seen(-99.0f);
        std::function<void(glm::vec2&)> read = [&](glm::vec2& b) { seen = b; };
        a.test->Send(MessageQueryBone(1, name, read));
        return seen;
    };
    EXPECT_EQ(bone("Muzzle"), glm::vec2(0.5f, 0.1f));
    EXPECT_EQ(bone("Nope"), glm::vec2(-99.0f));  // unknown: no call
    a.Play("Shoot", false);
    EXPECT_EQ(bone("Muzzle"), glm::vec2(0.7f, 0.2f));
    std::function<void(glm::vec2&)> write = [](glm::vec2& b) { b = {3.0f, 4.0f}; };
    a.test->Send(MessageQueryBone(1, "Muzzle", write));
    EXPECT_EQ(bone("Muzzle"), glm::vec2(3.0f, 4.0f));
    a.Play("Idle", true);
    EXPECT_EQ(bone("Muzzle"), glm::vec2(0.5f, 0.1f));  // the entity's own bone is untouched

    // Writing the aim bone turns the sprite; a mirrored sprite turns the other way.
    std::function<void(glm::vec2&)> aimUp = [](glm::vec2& b) { b = {1.0f, 1.0f}; };
    a.test->Send(MessageQueryBone(1, "Aim", aimUp));
    EXPECT_NEAR(a.test->Get<ComponentTransform>(1).value().rotation.z, 0.785398f, 1e-5f);
    std::function<void(glm::vec2&)> aimMirrored = [&](glm::vec2& b) {
        b = {1.0f, -1.0f};
        EXPECT_TRUE(
            a.test->Query<ComponentTransform>(1, [](ComponentTransform& t) { t.scale.x = -1.0f; }));
    };
    a.test->Send(MessageQueryBone(1, "Aim", aimMirrored));
    EXPECT_NEAR(a.test->Get<ComponentTransform>(1).value().rotation.z, 0.785398f, 1e-5f);
    EXPECT_EQ(bone("Aim"), glm::vec2(1.0f, -1.0f));
}

TEST(Animation, UnplayableDataNamesTheFileAndKey) {
    const std::vector<std::pair<json, std::string>> cases = {
        {{{"Clips", {{"Empty", {{"Frames", json::array()}}}}}}, "Empty"},
        {{{"Clips", {{"Run", {{"Count", 3}}}}}}, "Dimensions"},
        // Counting on from the last row int can number.
        {{{"Dimensions", {1, 1}},
          {"Clips", {{"Tall", {{"First", {0, 2147483647}}, {"Count", 3}}}}}},
         "last sheet row"},
        {{{"Frame Rate", 0}}, "Frame Rate"},
        {{{"Start", "Absent"}}, "Absent"},
        {{{"Clips", {{"Bad", {{"Frames", {{-1, 0}}}}}}}}, "Bad"},
    };
    for (const auto& [animation, key] : cases) {
        TempAssets assets;
        assets.Entity("Broken", {{"Animation", animation}});
        assets.Scene("Level", {{"x", "Broken"}});
        std::vector<std::unique_ptr<SystemBase>> systems;
        systems.push_back(std::make_unique<SystemAnimation>());
        TestEngine test(std::move(systems));
        try {
            test.Enter("Level");
            ADD_FAILURE() << "loaded: " << animation.dump();
        } catch (const DataError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("Broken.json"), std::string::npos) << what;
            EXPECT_NE(what.find(key), std::string::npos) << what;
        }
    }
}
