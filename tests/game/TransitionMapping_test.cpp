#include <gtest/gtest.h>

#include <sstream>

#include "audio/MessageAudio.h"
#include "engine/SystemTransform.h"
#include "game/presentation/SystemAudioTransition.h"
#include "game/presentation/SystemColorTransition.h"
#include "game/presentation/SystemPositionTransition.h"
#include "services/graphics/SystemSprite.h"

using json = nlohmann::json;

namespace {

/// The three mappings driven by hand, their queries answered by real transform and sprite
/// tables, and the audio parameters they send kept.
struct MappingTest : ::testing::Test {
    MappingTest() {
        auto send = [this](const Message& message) {
            if (transforms.HandleMessage(message) || sprites.HandleMessage(message)) return true;
            if (message.TypeId() == MessageId::AudioParameter) {
                auto& parameter = static_cast<const MessageAudioParameter&>(message);
                parameters.emplace_back(std::string(parameter.name), parameter.value);
            }
            return false;
        };
        position.SendMessage = send;
        color.SendMessage = send;
        audio.SendMessage = send;
        ComponentTransform transform;
        transform.translation = {3.0f, 4.0f, 5.0f};
        transforms.components[1] = transform;
        sprites.components[1] = ComponentSprite{};
    }
    void Player(float x) {
        const MessageListenerPosition at({x, 7.0f, 0.0f}, {0.0f, 0.0f, 0.0f});
        EXPECT_FALSE(position.HandleMessage(at));
        EXPECT_FALSE(color.HandleMessage(at));
        EXPECT_FALSE(audio.HandleMessage(at));
    }
    glm::vec3 Where() { return transforms.components.at(1).translation; }
    glm::vec4 Color() { return sprites.components.at(1).color; }

    SystemPositionTransition position;
    SystemColorTransition color;
    SystemAudioTransition audio;
    SystemTransform transforms;
    SystemSprite sprites;
    std::vector<std::pair<std::string, float>> parameters;
};

}  // namespace

TEST_F(MappingTest, PlayerPositionMapsLinearlyAndExtrapolates) {
    position.HandleMessage(MessageAddComponentJSON(
        "S", 1,
        {{"Player Start", 0}, {"Player End", 100}, {"Position Start", 10}, {"Position End", 20}},
        "Position Transition"));
    color.HandleMessage(MessageAddComponentJSON("S", 1,
                                                {{"Player Start", 0},
                                                 {"Player End", 100},
                                                 {"Color Start", {0, 0, 0, 0}},
                                                 {"Color End", {1, 0.5, 0, 1}}},
                                                "Color Transition"));
    audio.HandleMessage(MessageAddComponentJSON("S", 1,
                                                {{"Parameter", "Depth"},
                                                 {"Player Start", 100},
                                                 {"Player End", 0},
                                                 {"Parameter Start", 2},
                                                 {"Parameter End", 4}},
                                                "Audio Transition"));
    Player(50.0f);
    EXPECT_EQ(Where(), glm::vec3(15.0f, 4.0f, 5.0f)) << "only x follows";
    EXPECT_EQ(Color(), glm::vec4(0.5f, 0.25f, 0.0f, 0.5f));
    Player(150.0f);
    EXPECT_FLOAT_EQ(Where().x, 25.0f);
    EXPECT_FLOAT_EQ(Color().r, 1.5f);
    Player(-50.0f);
    EXPECT_FLOAT_EQ(Where().x, 5.0f);
    const std::vector<std::pair<std::string, float>> expected = {
        {"Depth", 3.0f}, {"Depth", 1.0f}, {"Depth", 5.0f}};
    EXPECT_EQ(parameters, expected);
}

TEST_F(MappingTest, EmptyPlayerSpanLeavesTargetsAlone) {
    const json flat = {{"Player Start", 40},        {"Player End", 40},     {"Position End", 9},
                       {"Color End", {1, 1, 1, 1}}, {"Parameter", "Depth"}, {"Parameter End", 9}};
    position.HandleMessage(MessageAddComponentJSON("S", 1, flat, "Position Transition"));
    color.HandleMessage(MessageAddComponentJSON("S", 1, flat, "Color Transition"));
    audio.HandleMessage(MessageAddComponentJSON("S", 1, flat, "Audio Transition"));
    sprites.components[1].color = {0.2f, 0.3f, 0.4f, 0.5f};
    Player(40.0f);
    Player(41.0f);
    EXPECT_EQ(Where(), glm::vec3(3.0f, 4.0f, 5.0f));
    EXPECT_EQ(Color(), glm::vec4(0.2f, 0.3f, 0.4f, 0.5f));
    EXPECT_TRUE(parameters.empty());
}
