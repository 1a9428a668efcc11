#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "audio/VornAudio.h"
#include "engine/MessageTrigger.h"
#include "tests/audio/AudioTestSupport.h"

using audio_test::Advance;
using audio_test::Mix;
using audio_test::ReadOutput;
using nlohmann::json;

namespace {

constexpr glm::vec3 kZero(0.0f);
// A steady tone sits near 0.35 RMS at full level; silence is the mixer's exact zero.
constexpr double kAudible = 0.02;
constexpr double kSilent = 0.002;

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        audio_test::WriteMasterBanks(assets);
        audio_test::WriteTone(assets, "Assets/Banks/Sounds/Tone.wav", 1.0);
        audio_test::WriteTone(assets, "Assets/Banks/Sounds/Blip.wav", 0.1);
        audio_test::WriteTone(assets, "Assets/Banks/Sounds/Short.wav", 0.25);
        audio_test::WriteBank(
            assets, "Test",
            {{"Parameters", {{"Duck", {{"Minimum", 0}, {"Maximum", 1}}}}},
             {"Events",
              {{"event:/Tone", {{"Sounds", {"Sounds/Tone.wav"}}, {"Bus", "bus:/SFX"}}},
               {"event:/Hum",
                {{"Sounds", {"Sounds/Blip.wav"}}, {"Loop", true}, {"Bus", "bus:/SFX"}}},
               {"event:/Blip", {{"Sounds", {"Sounds/Blip.wav"}}}},
               {"event:/Ducked",
                {{"Sounds", {"Sounds/Blip.wav"}},
                 {"Loop", true},
                 {"Parameters",
                  {{"Duck", {{"Volume", {{0, 1}, {1, 0.25}}}}},
                   {"PauseMenuScreen", {{"Volume", {{0, 1}, {1, 0.5}}}}}}}}},
               {"event:/Placed Short",
                {{"Sounds", {"Sounds/Short.wav"}},
                 {"3D", true},
                 {"Min Distance", 5},
                 {"Max Distance", 100}}},
               {"event:/Placed",
                {{"Sounds", {"Sounds/Tone.wav"}},
                 {"3D", true},
                 {"Min Distance", 5},
                 {"Max Distance", 100}}}}}});
        manager = std::make_unique<ManagerAudio>();
        manager->HandleMessage(MessageLoad(MessageLoad::kBank, "Test"));
    }

    void Play(std::string_view name, const glm::vec3& position = kZero) {
        manager->HandleMessage(MessageAudioEvent(name, position, kZero));
    }

    // Closes the device, which completes the file, and reads what was mixed.
    Mix Finish() {
        manager.reset();
        return ReadOutput();
    }

    TempAssets assets;
    std::unique_ptr<ManagerAudio> manager;
};

TEST_F(Render, EventIsAudibleAndUnknownEventIsSilentWithNullEntry) {
    Play("Nothing Here");
    Advance(*manager, 0.25);
    Play("Tone");
    Advance(*manager, 0.35);
    ASSERT_TRUE(manager->Events().count("event:/Nothing Here"));
    EXPECT_EQ(manager->Events().at("event:/Nothing Here"), nullptr);
    Mix mix = Finish();
    ASSERT_GT(mix.Seconds(), 0.5);
    EXPECT_LT(mix.Rms(0.0, 0.2), kSilent);
    EXPECT_GT(mix.Rms(0.35, 0.55), kAudible);
}

TEST_F(Render, EventRightOfListenerIsLouderOnTheRight) {
    manager->HandleMessage(MessageListenerPosition(glm::vec3(100, 0, 0), kZero));
    // World x 120 is 20 units to the right of the listener.
    Play("Placed", glm::vec3(120, 0, 0));
    Advance(*manager, 0.3);
    Mix mix = Finish();
    double left = mix.Rms(0.05, 0.25, 0);
    double right = mix.Rms(0.05, 0.25, 1);
    EXPECT_GT(right, kAudible);
    EXPECT_GT(right, 2.0 * left);
}

TEST_F(Render, EventAtTheListenerIsCentredAndLeftOfItLouderOnTheLeft) {
    manager->HandleMessage(MessageListenerPosition(glm::vec3(-50, 10, 0), kZero));
    Play("Placed Short", glm::vec3(-50, 10, 0));
    Advance(*manager, 0.4);
    Play("Placed Short", glm::vec3(-70, 10, 0));
    Advance(*manager, 0.4);
    Mix mix = Finish();
    double first = mix.Onset(0.0);
    double second = mix.Onset(first + 0.3);
    ASSERT_GT(second, first);
    EXPECT_GT(mix.Rms(first + 0.03, first + 0.2, 0), kAudible);
    EXPECT_NEAR(mix.Rms(first + 0.03, first + 0.2, 0) / mix.Rms(first + 0.03, first + 0.2, 1), 1.0,
                0.05);
    EXPECT_GT(mix.Rms(second + 0.03, second + 0.2, 0),
              2.0 * mix.Rms(second + 0.03, second + 0.2, 1));
}

TEST_F(Render, BusVolumeScalesAmplitudeAndCanBeRead) {
    Play("Hum");
    Advance(*manager, 0.4);
    manager->HandleMessage(MessageSetBusVolume("SFX", 0.5f));
    Advance(*manager, 0.4);
    float read = -1.0f;
    std::function<void(float)> callback = [&](float volume) { read = volume; };
    manager->HandleMessage(MessageQueryBusVolume("SFX", callback));
    EXPECT_FLOAT_EQ(read, 0.5f);
    Mix mix = Finish();
    double full = mix.Rms(0.1, 0.3);
    ASSERT_GT(full, kAudible);
    EXPECT_NEAR(mix.Rms(0.55, 0.75) / full, 0.5, 0.05);
}

TEST_F(Render, MasterBusVolumeReachesEveryBusBelowIt) {
    Play("Hum");
    Advance(*manager, 0.4);
    manager->HandleMessage(MessageSetBusVolume("", 0.25f));
    Advance(*manager, 0.4);
    Mix mix = Finish();
    EXPECT_NEAR(mix.Rms(0.55, 0.75) / mix.Rms(0.1, 0.3), 0.25, 0.03);
}

TEST_F(Render, LosingWindowFocusSilencesAndRegainingItResumes) {
    Play("Hum");
    Advance(*manager, 0.3);
    manager->HandleMessage(MessageTrigger("Window Focus", false));
    Advance(*manager, 0.4);
    manager->HandleMessage(MessageTrigger("Window Focus", true));
    Advance(*manager, 0.3);
    Mix mix = Finish();
    EXPECT_GT(mix.Rms(0.05, 0.25), kAudible);
    EXPECT_LT(mix.Rms(0.4, 0.6), kSilent);
    EXPECT_GT(mix.Rms(0.8, 0.95), kAudible);
}

TEST_F(Render, ParameterBoundToVolumeChangesLoudness) {
    Play("Ducked");
    Advance(*manager, 0.4);
    manager->HandleMessage(MessageAudioParameter("Duck", 1.0f));
    Advance(*manager, 0.4);
    // "Pause" drives "PauseMenuScreen", which halves this event on top of the duck.
    manager->HandleMessage(MessageTrigger("Pause", true));
    Advance(*manager, 0.4);
    Mix mix = Finish();
    double full = mix.Rms(0.1, 0.3);
    ASSERT_GT(full, kAudible);
    EXPECT_NEAR(mix.Rms(0.5, 0.7) / full, 0.25, 0.03);
    EXPECT_NEAR(mix.Rms(0.9, 1.1) / full, 0.125, 0.02);
}

TEST_F(Render, LoopingEventKeepsPlayingAndOneShotEndsAndIsReclaimed) {
    Play("Hum");
    Play("Blip");
    EXPECT_EQ(manager->Runtime().InstanceCount(), 2);
    Advance(*manager, 0.8);
    // The one-shot has ended and gone; the loop is still alive.
    EXPECT_EQ(manager->Runtime().InstanceCount(), 1);
    Mix mix = Finish();
    EXPECT_GT(mix.Rms(0.6, 0.75), kAudible);
}

TEST_F(Render, OneShotEndsInSilence) {
    Play("Blip");
    Advance(*manager, 0.5);
    EXPECT_EQ(manager->Runtime().InstanceCount(), 0);
    Mix mix = Finish();
    EXPECT_GT(mix.Rms(0.0, 0.1), kAudible);
    EXPECT_LT(mix.Rms(0.25, 0.45), kSilent);
}

}  // namespace
