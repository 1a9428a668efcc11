#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "audio/MessageAudio.h"
#include "engine/MessageCursor.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/camera/SystemCameraControl.h"
#include "tests/game/GameFixture.h"

using json = nlohmann::json;

namespace {

struct CameraTest : ::testing::Test {
    void Start(const json& controller) {
        assets.Entity("Cam", {{"Transform", {{"Translation", {0, 0, 10}}}},
                              {"Camera Controller", controller}});
        assets.Scene("Level", {{"camera", "Cam"}});
        test = std::make_unique<TestEngine>(PlayerRoster());
        test->Enter("Level");
        camera = FindEntity(*test, "Cam");
        ASSERT_NE(camera, 0);
    }
    void Listener(float x, float y) {
        test->Send(MessageListenerPosition({x, y, 0.0f}, {0.0f, 0.0f, 0.0f}));
    }
    std::optional<ComponentTransform> Transform() { return test->Get<ComponentTransform>(camera); }

    TempAssets assets;
    std::unique_ptr<TestEngine> test;
    EntityId camera = 0;
};

}  // namespace

TEST_F(CameraTest, FollowsTheListenerInsideTheBounds) {
    Start({{"Left Bound", 5}, {"Right Bound", 5}, {"Bottom Bound", -2}, {"Top Bound", 10}});
    Listener(20.0f, 3.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 5.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.y, 3.0f);
    Listener(-100.0f, -50.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 5.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.y, -2.0f);
    Listener(0.0f, 40.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.y, 10.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.z, 10.0f);
}

TEST_F(CameraTest, TheFollowOffsetMovesTheViewBeforeTheBoundsApply) {
    Start({{"Left Bound", -50},
           {"Right Bound", 50},
           {"Bottom Bound", 7.5},
           {"Top Bound", 50},
           {"Follow Offset", {1, -3}}});
    Listener(20.0f, 13.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 21.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.y, 10.0f);
    Listener(20.0f, 6.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.y, 7.5f) << "the bound still holds";
}

TEST_F(CameraTest, ShakeStartsWithTheDeathWallAndIsZeroOnAnAxisWithoutModulation) {
    Start({{"Left Bound", -50},
           {"Right Bound", 50},
           {"Bottom Bound", -50},
           {"Top Bound", 50},
           {"Shake Amplitude", {0.5, 0.3}},
           {"Shake Modulation Amplitude", {1, 1}},
           {"Shake Frequency", {20, 20}},
           {"Shake Modulation Frequency", {0, 3}}});
    test->Frames(10, 0.1f);
    Listener(1.0f, 2.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.y, 2.0f);  // not shaking yet

    test->Send(MessageTrigger("Death Wall", true));
    test->Frames(7, 0.1f);
    Listener(1.0f, 2.0f);
    const float t = 0.7f;
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 1.0f);
    EXPECT_NEAR(Transform().value().translation.y, 2.0f + 0.3f * std::sin(std::sin(t * 3) * t * 20),
                1e-4f);
    EXPECT_GT(std::fabs(Transform().value().translation.y - 2.0f), 0.01f);
}

TEST_F(CameraTest, FreeCameraPansFromThePressPositionAndIgnoresTheListener) {
    Start({{"Left Bound", -50}, {"Right Bound", 50}, {"Bottom Bound", -50}, {"Top Bound", 50}});
    Listener(5.0f, 3.0f);
    // The press is recorded even before free mode is on.
    Press(*test, MessageKey::kMouseFirst);
    test->Send(MessageKey(67, MessageKey::kPressed, MessageKey::kModControl, false));
    test->Send(MessageCursorPosition(glm::vec2(1.0f, 2.0f)));
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 4.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.y, 1.0f);
    Listener(20.0f, 20.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 4.0f);

    test->Send(MessageScroll(glm::vec2(0.0f, 0.25f)));
    EXPECT_FLOAT_EQ(Transform().value().scale.x, 0.75f);
    EXPECT_FLOAT_EQ(Transform().value().scale.y, 0.75f);

    // C without Control does nothing; Control+C leaves free mode and following resumes.
    test->Send(MessageKey(67, MessageKey::kPressed, 0, false));
    Listener(20.0f, 20.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 4.0f);
    test->Send(MessageKey(67, MessageKey::kPressed, MessageKey::kModControl, false));
    Listener(20.0f, 20.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 20.0f);
}

TEST_F(CameraTest, HoldsOnADeathUntilTheRestoreWhenTheContentAsks) {
    Start({{"Left Bound", -50},
           {"Right Bound", 50},
           {"Bottom Bound", -50},
           {"Top Bound", 50},
           {"Hold On Death", true}});
    Listener(3.0f, 4.0f);
    test->Send(MessageTrigger("Kill Player", true));
    Listener(20.0f, -30.0f);  // the thrown body
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 3.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.y, 4.0f);
    test->Send(MessageTrigger("Checkpoint Restore", true));
    Listener(1.0f, 2.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 1.0f);

    // Without the key the camera follows the body as before.
    ASSERT_TRUE(test->Query<ComponentCameraControl>(
        camera, [](ComponentCameraControl& c) { c.HoldOnDeath = false; }));
    test->Send(MessageTrigger("Kill Player", true));
    Listener(20.0f, -30.0f);
    EXPECT_FLOAT_EQ(Transform().value().translation.x, 20.0f);
}
