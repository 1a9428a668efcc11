#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/VornAudio.h"
#include "engine/MessageTrigger.h"
#include "tests/audio/AudioTestSupport.h"

using audio_test::Advance;
using audio_test::AdvanceUntil;
using audio_test::Mix;
using audio_test::ReadOutput;
using nlohmann::json;

namespace {

constexpr glm::vec3 kZero(0.0f);
// A steady tone sits near 0.35 RMS at full level; silence is the mixer's exact zero.
constexpr double kAudible = 0.02;
constexpr double kSilent = 0.002;

std::string Describe(const std::vector<std::pair<bool, double>>& runs) {
    std::string text;
    for (const auto& [audible, seconds] : runs) {
        text += (audible ? "sound " : "silence ") + std::to_string(seconds) + "s; ";
    }
    return text;
}

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        audio_test::WriteMasterBanks(assets);
        audio_test::WriteTone(assets, "Assets/Banks/Sounds/Tone.wav", 1.0);
        audio_test::WriteTone(assets, "Assets/Banks/Sounds/Blip.wav", 0.1);
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

TEST_F(Render, UnknownEventPlaysNothingAndLeavesANullEntry) {
    Play("Nothing Here");
    Advance(*manager, 0.3);
    ASSERT_TRUE(manager->Events().count("event:/Nothing Here"));
    EXPECT_EQ(manager->Events().at("event:/Nothing Here"), nullptr);
    Mix mix = Finish();
    ASSERT_GT(mix.Seconds(), 0.2);
    EXPECT_LT(mix.Rms(0.0, mix.Seconds()), kSilent);
}

TEST_F(Render, EventPlaysAudibleSound) {
    Play("Tone");
    Advance(*manager, 0.4);
    Mix mix = Finish();
    double onset = mix.Onset(0.0);
    ASSERT_GE(onset, 0.0);
    // The tone's 0.5 peak makes about 0.35 RMS in each channel of a centred mix, less the
    // stereo pan law; anything near that is the tone, not noise.
    EXPECT_GT(mix.Rms(onset + 0.02, onset + 0.2), 0.1);
}

TEST_F(Render, EventRightOfListenerIsLouderOnTheRight) {
    manager->HandleMessage(MessageListenerPosition(glm::vec3(100, 0, 0), kZero));
    // World x 120 is 20 units to the right of the listener.
    Play("Placed", glm::vec3(120, 0, 0));
    Advance(*manager, 0.3);
    Mix mix = Finish();
    double onset = mix.Onset(0.0);
    ASSERT_GE(onset, 0.0);
    double left = mix.Rms(onset + 0.02, onset + 0.2, 0);
    double right = mix.Rms(onset + 0.02, onset + 0.2, 1);
    EXPECT_GT(right, kAudible);
    EXPECT_GT(right, 2.0 * left);
}

TEST_F(Render, EventAtTheListenerIsCentredAndLeftOfItLouderOnTheLeft) {
    auto levels = [&](const glm::vec3& position) {
        manager->HandleMessage(MessageListenerPosition(glm::vec3(-50, 10, 0), kZero));
        Play("Placed", position);
        Advance(*manager, 0.3);
        Mix mix = Finish();
        manager = std::make_unique<ManagerAudio>();
        manager->HandleMessage(MessageLoad(MessageLoad::kBank, "Test"));
        double onset = mix.Onset(0.0);
        return std::pair(mix.Rms(onset + 0.02, onset + 0.2, 0),
                         mix.Rms(onset + 0.02, onset + 0.2, 1));
    };
    auto [centreLeft, centreRight] = levels(glm::vec3(-50, 10, 0));
    EXPECT_GT(centreLeft, kAudible);
    EXPECT_NEAR(centreLeft / centreRight, 1.0, 0.05);
    auto [left, right] = levels(glm::vec3(-70, 10, 0));
    EXPECT_GT(left, 2.0 * right);
    // Twenty units away is still well inside the event's hundred.
    EXPECT_GT(left, 0.5 * centreLeft);
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
    auto levels = Finish().Plateaus();
    ASSERT_GE(levels.size(), 2u);
    EXPECT_GT(levels.front(), kAudible);
    EXPECT_NEAR(levels.back() / levels.front(), 0.5, 0.05);
}

TEST_F(Render, MasterBusVolumeReachesEveryBusBelowIt) {
    Play("Hum");
    Advance(*manager, 0.4);
    manager->HandleMessage(MessageSetBusVolume("", 0.25f));
    Advance(*manager, 0.4);
    auto levels = Finish().Plateaus();
    ASSERT_GE(levels.size(), 2u);
    EXPECT_NEAR(levels.back() / levels.front(), 0.25, 0.03);
}

TEST_F(Render, LosingWindowFocusSilencesAndRegainingItResumes) {
    Play("Hum");
    Advance(*manager, 0.3);
    manager->HandleMessage(MessageTrigger("Window Focus", false));
    Advance(*manager, 0.6);
    manager->HandleMessage(MessageTrigger("Window Focus", true));
    Advance(*manager, 0.3);
    auto runs = Finish().Runs(kAudible, kSilent);
    ASSERT_EQ(runs.size(), 3u) << Describe(runs);
    EXPECT_TRUE(runs[0].first);
    EXPECT_FALSE(runs[1].first);
    // Shorter than the pause only when the writer thread was held up across its end.
    EXPECT_GT(runs[1].second, 0.1);
    EXPECT_TRUE(runs[2].first);
    EXPECT_GT(runs[2].second, 0.1);
}

TEST_F(Render, ParameterBoundToVolumeChangesLoudness) {
    Play("Ducked");
    Advance(*manager, 0.4);
    manager->HandleMessage(MessageAudioParameter("Duck", 1.0f));
    Advance(*manager, 0.4);
    // "Pause" drives "PauseMenuScreen", which halves this event on top of the duck.
    manager->HandleMessage(MessageTrigger("Pause", true));
    Advance(*manager, 0.4);
    auto levels = Finish().Plateaus();
    ASSERT_GE(levels.size(), 3u);
    double full = levels.front();
    EXPECT_GT(full, kAudible);
    EXPECT_TRUE(std::any_of(levels.begin(), levels.end(),
                            [&](double level) { return std::abs(level / full - 0.25) < 0.03; }));
    EXPECT_NEAR(levels.back() / full, 0.125, 0.02);
}

TEST_F(Render, LoopingEventKeepsPlayingAndOneShotEndsAndIsReclaimed) {
    Play("Hum");
    Play("Blip");
    EXPECT_EQ(manager->Runtime().InstanceCount(), 2);
    // The one-shot ends and goes; the loop stays.
    EXPECT_TRUE(AdvanceUntil(*manager, [&] { return manager->Runtime().InstanceCount() == 1; }));
    Advance(*manager, 0.5);
    EXPECT_EQ(manager->Runtime().InstanceCount(), 1);
    // One unbroken sound, far longer than either sound file.
    auto runs = Finish().Runs(kAudible, kSilent);
    ASSERT_EQ(runs.size(), 1u) << Describe(runs);
    EXPECT_GT(runs[0].second, 0.3);
}

TEST_F(Render, OneShotEndsInSilence) {
    Play("Blip");
    EXPECT_TRUE(AdvanceUntil(*manager, [&] { return manager->Runtime().InstanceCount() == 0; }));
    Advance(*manager, 0.2);
    Mix mix = Finish();
    double onset = mix.Onset(0.0);
    ASSERT_GE(onset, 0.0);
    EXPECT_GT(mix.Rms(onset, onset + 0.08), kAudible);
    EXPECT_LT(mix.Rms(onset + 0.15, mix.Seconds()), kSilent);
}

TEST_F(Render, StreamsPlayThroughAndLoopPastTheirEnd) {
    // Longer than the stream's four buffers together, so refilling must work.
    audio_test::WriteTone(assets, "Assets/Banks/Sounds/Long.wav", 1.5);
    audio_test::WriteBank(
        assets, "Streams",
        {{"Events",
          {{"event:/Long", {{"Sounds", {"Sounds/Long.wav"}}, {"Stream", true}}},
           {"event:/Wrap", {{"Sounds", {"Sounds/Blip.wav"}}, {"Stream", true}, {"Loop", true}}}}}});
    manager->HandleMessage(MessageLoad(MessageLoad::kBank, "Streams"));
    Play("Long");
    EXPECT_TRUE(AdvanceUntil(*manager, [&] { return manager->Runtime().InstanceCount() == 0; }));
    Advance(*manager, 0.2);
    Play("Wrap");
    Advance(*manager, 0.6);
    EXPECT_EQ(manager->Runtime().InstanceCount(), 1);
    auto runs = Finish().Runs(kAudible, kSilent);
    // The long stream without a gap, its end, then the looping short one to the last moment.
    ASSERT_EQ(runs.size(), 3u) << Describe(runs);
    EXPECT_NEAR(runs[0].second, 1.5, 0.06);
    EXPECT_FALSE(runs[1].first);
    EXPECT_GT(runs[2].second, 0.3);
}

}  // namespace
