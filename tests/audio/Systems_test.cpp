#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "audio/VornAudio.h"
#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "engine/MessageState.h"
#include "engine/SystemTransform.h"
#include "physics2d/SystemPhysics.h"
#include "tests/audio/AudioTestSupport.h"

using nlohmann::json;

namespace {

struct Played {
    std::string name;
    glm::vec3 position;
    glm::vec3 velocity;
};

// Drives a source system alone: its own queries come back to it, its sounds are recorded.
class SourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        system.SendMessage = [this](const Message& message) {
            if (message.TypeId() == MessageId::AudioEvent) {
                auto& event = static_cast<const MessageAudioEvent&>(message);
                played.push_back({std::string(event.name), event.position, event.velocity});
                return false;
            }
            return system.HandleMessage(message);
        };
    }

    void Add(EntityId entity, const json& description) {
        ASSERT_TRUE(system.HandleMessage(
            MessageAddComponentJSON("Level", entity, description, "Audio Source")));
    }

    SystemAudioSource system;
    std::vector<Played> played;
};

TEST_F(SourceTest, BirthPlaysTheCreateSoundAtTheOrigin) {
    Add(1, {{"Create Sound", "SFX/Door"}, {"Destroy Sound", "SFX/Hit"}});
    EXPECT_FALSE(system.HandleMessage(MessageEntityBirth(1)));
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].name, "SFX/Door");
    EXPECT_EQ(played[0].position, glm::vec3(0.0f));
    EXPECT_EQ(played[0].velocity, glm::vec3(0.0f));
    // An entity without a source is born silently.
    system.HandleMessage(MessageEntityBirth(2));
    EXPECT_EQ(played.size(), 1u);
}

TEST_F(SourceTest, SourceWithoutSoundsNeverPlays) {
    Add(1, json::object());
    system.HandleMessage(MessageEntityBirth(1));
    system.HandleMessage(MessageChangeState("Next"));
    system.HandleMessage(MessageDestroyEntity(1));
    EXPECT_TRUE(played.empty());
}

TEST_F(SourceTest, DestroyPlaysOnceAndRemovesTheComponent) {
    Add(4, {{"Destroy Sound", "SFX/Hit"}});
    EXPECT_FALSE(system.HandleMessage(MessageDestroyEntity(4)));
    EXPECT_FALSE(system.HandleMessage(MessageDestroyEntity(4)));
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].name, "SFX/Hit");
    EXPECT_TRUE(system.components.empty());
}

TEST_F(SourceTest, StateChangePlaysEveryDestroySoundAndKeepsTheComponents) {
    Add(1, {{"Destroy Sound", "Music/Stop"}});
    Add(2, {{"Create Sound", "SFX/Door"}});
    Add(3, {{"Destroy Sound", "SFX/Footsteps Stop"}});
    EXPECT_FALSE(system.HandleMessage(MessageChangeState("Next")));
    std::vector<std::string> names;
    for (const auto& p : played) names.push_back(p.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Music/Stop", "SFX/Footsteps Stop"}));
    EXPECT_EQ(system.components.size(), 3u);
}

TEST_F(SourceTest, WrongTypeAddsNoComponent) {
    EXPECT_THROW(system.HandleMessage(
                     MessageAddComponentJSON("Level", 1, {{"Create Sound", 3}}, "Audio Source")),
                 json::type_error);
    EXPECT_TRUE(system.components.empty());
}

// Drives a listener system alone, answering its transform and physics queries by hand.
class ListenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        system.SendMessage = [this](const Message& message) {
            if (auto* q = MessageAs<MessageQuery<ComponentTransform>>(message)) {
                if (transform && q->entity == 7) q->callback(*transform);
                return true;
            }
            if (auto* q = MessageAs<MessageQuery<ComponentPhysics>>(message)) {
                if (physics && q->entity == 7) q->callback(*physics);
                return true;
            }
            if (message.TypeId() == MessageId::ListenerPosition) {
                auto& l = static_cast<const MessageListenerPosition&>(message);
                sent.push_back({"", l.position, l.velocity});
            }
            return false;
        };
        system.HandleMessage(MessageAddComponentJSON("Level", 7, json::object(), "Audio Listener"));
    }

    SystemAudioListener system;
    std::optional<ComponentTransform> transform;
    std::optional<ComponentPhysics> physics;
    std::vector<Played> sent;
};

TEST_F(ListenerTest, ReportsTranslationAndVelocityEveryUpdate) {
    transform.emplace();
    transform->translation = glm::vec3(3, 4, 5);
    physics.emplace();
    physics->Velocity = glm::vec3(1, -2, 0);
    EXPECT_FALSE(system.HandleMessage(MessageUpdate(0.016f)));
    EXPECT_FALSE(system.HandleMessage(MessageUpdate(0.016f)));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].position, glm::vec3(3, 4, 5));
    EXPECT_EQ(sent[1].velocity, glm::vec3(1, -2, 0));
}

TEST_F(ListenerTest, WithoutPhysicsVelocityIsZeroAndWithoutTransformNothingIsSent) {
    transform.emplace();
    transform->translation = glm::vec3(1, 1, 1);
    system.HandleMessage(MessageUpdate(0.016f));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].velocity, glm::vec3(0.0f));
    transform.reset();
    system.HandleMessage(MessageUpdate(0.016f));
    EXPECT_EQ(sent.size(), 1u);
}

TEST(ListenerAndManager, SoundsArePlacedRelativeToTheLastListenerPosition) {
    SystemAudioListener listener;
    ComponentTransform transform;
    transform.translation = glm::vec3(10, 2, 0);
    listener.components[1] = ComponentAudioListener{};
    ManagerAudio* target = nullptr;
    listener.SendMessage = [&](const Message& message) {
        if (auto* q = MessageAs<MessageQuery<ComponentTransform>>(message)) {
            q->callback(transform);
            return true;
        }
        return target ? target->HandleMessage(message) : false;
    };
    TempAssets assets;
    audio_test::WriteMasterBanks(assets);
    ManagerAudio manager;
    target = &manager;
    listener.HandleMessage(MessageUpdate(0.016f));
    EXPECT_EQ(manager.ListenerPosition(), glm::vec3(10, 2, 0));
    EXPECT_EQ(manager.ListenerVelocity(), glm::vec3(0.0f));
}

}  // namespace
