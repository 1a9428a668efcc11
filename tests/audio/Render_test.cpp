#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/VornAudio.h"
#include "engine/MessageContentReloaded.h"
#include "engine/MessageTrigger.h"
#include "tests/audio/AudioTestSupport.h"

using audio_test::AudioRig;
using audio_test::Mix;
using nlohmann::json;

// What the mixer makes of the manager's calls, rendered frame by frame: the mix holds exactly
// the frame time that was stepped, so a change made after 0.4 s of frames is heard at 0.4 s.
namespace {

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
        audio_test::WriteTone(assets, "Assets/Banks/Sounds/Long.wav", 1.5);
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
                 {"Max Distance", 100}}},
               {"event:/Long", {{"Sounds", {"Sounds/Long.wav"}}, {"Stream", true}}},
               {"event:/Wrap",
                {{"Sounds", {"Sounds/Blip.wav"}}, {"Stream", true}, {"Loop", true}}}}}});
        rig = MakeRig();
    }

    std::unique_ptr<AudioRig> MakeRig() {
        auto made = std::make_unique<AudioRig>(assets);
        made->Send(MessageLoad(MessageLoad::kBank, "Test"));
        return made;
    }

    void Play(std::string_view name, const glm::vec3& position = glm::vec3(0.0f)) {
        rig->Play(name, position);
    }
    const Mix& mix() const { return rig->mix; }

    TempAssets assets;
    std::unique_ptr<AudioRig> rig;
};

TEST_F(Render, TheMixHoldsExactlyTheSteppedFrameTime) {
    rig->Step(1.0);
    EXPECT_EQ(mix().left.size(), 44100u);
    // Frames of any length add up without losing the fractions of a sample.
    rig->Step(0.5, 1.0f / 144.0f);
    rig->Step(0.5, 0.0333f);
    EXPECT_NEAR(static_cast<double>(mix().left.size()), 44100.0 * (1.0 + 72 / 144.0 + 15 * 0.0333),
                1.0);
}

TEST_F(Render, UnknownEventPlaysNothingAndLeavesANullEntry) {
    Play("Nothing Here");
    rig->Step(0.3);
    ASSERT_TRUE(rig->Manager().Events().count("event:/Nothing Here"));
    EXPECT_EQ(rig->Manager().Events().at("event:/Nothing Here"), nullptr);
    EXPECT_NEAR(mix().Seconds(), 0.3, 0.001);
    EXPECT_LT(mix().Rms(0.0, mix().Seconds()), kSilent);
}

TEST_F(Render, EventStartsWithTheNextFrameAndIsAudible) {
    rig->Step(0.1);
    Play("Tone");
    rig->Step(0.4);
    EXPECT_LT(mix().Rms(0.0, 0.1), kSilent);
    EXPECT_NEAR(mix().Onset(0.0), 0.1, 0.005);
    // The tone's 0.5 peak makes about 0.35 RMS in each channel of a centred mix, less the
    // stereo pan law; anything near that is the tone, not noise.
    EXPECT_GT(mix().Rms(0.12, 0.3), 0.1);
}

TEST_F(Render, EventRightOfListenerIsLouderOnTheRight) {
    rig->Send(MessageListenerPosition(glm::vec3(100, 0, 0), glm::vec3(0.0f)));
    // World x 120 is 20 units to the right of the listener.
    Play("Placed", glm::vec3(120, 0, 0));
    rig->Step(0.3);
    double left = mix().Rms(0.02, 0.2, 0);
    double right = mix().Rms(0.02, 0.2, 1);
    EXPECT_GT(right, kAudible);
    EXPECT_GT(right, 2.0 * left);
}

TEST_F(Render, EventAtTheListenerIsCentredAndLeftOfItLouderOnTheLeft) {
    auto levels = [&](const glm::vec3& position) {
        rig = MakeRig();
        rig->Send(MessageListenerPosition(glm::vec3(-50, 10, 0), glm::vec3(0.0f)));
        Play("Placed", position);
        rig->Step(0.3);
        return std::pair(mix().Rms(0.02, 0.2, 0), mix().Rms(0.02, 0.2, 1));
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
    rig->Step(0.4);
    rig->Send(MessageSetBusVolume("SFX", 0.5f));
    rig->Step(0.4);
    float read = -1.0f;
    std::function<void(float)> callback = [&](float volume) { read = volume; };
    rig->Send(MessageQueryBusVolume("SFX", callback));
    EXPECT_FLOAT_EQ(read, 0.5f);
    double full = mix().Rms(0.05, 0.4);
    EXPECT_GT(full, kAudible);
    EXPECT_NEAR(mix().Rms(0.45, 0.8) / full, 0.5, 0.02);
}

TEST_F(Render, MasterBusVolumeReachesEveryBusBelowIt) {
    Play("Hum");
    rig->Step(0.4);
    rig->Send(MessageSetBusVolume("", 0.25f));
    rig->Step(0.4);
    EXPECT_NEAR(mix().Rms(0.45, 0.8) / mix().Rms(0.05, 0.4), 0.25, 0.01);
}

TEST_F(Render, LosingWindowFocusSilencesAndRegainingItResumes) {
    Play("Hum");
    rig->Step(0.3);
    rig->Send(MessageTrigger("Window Focus", false));
    rig->Step(0.6);
    rig->Send(MessageTrigger("Window Focus", true));
    rig->Step(0.3);
    EXPECT_GT(mix().Rms(0.02, 0.3), kAudible);
    EXPECT_LT(mix().Rms(0.32, 0.9), kSilent);
    EXPECT_GT(mix().Rms(0.92, 1.2), kAudible);
    auto runs = mix().Runs(kAudible, kSilent);
    EXPECT_EQ(runs.size(), 3u) << Describe(runs);
}

TEST_F(Render, ParameterBoundToVolumeChangesLoudness) {
    Play("Ducked");
    rig->Step(0.4);
    rig->Send(MessageAudioParameter("Duck", 1.0f));
    rig->Step(0.4);
    // "Pause" drives "PauseMenuScreen", which halves this event on top of the duck.
    rig->Send(MessageTrigger("Pause", true));
    rig->Step(0.4);
    double full = mix().Rms(0.05, 0.4);
    EXPECT_GT(full, kAudible);
    EXPECT_NEAR(mix().Rms(0.45, 0.8) / full, 0.25, 0.01);
    EXPECT_NEAR(mix().Rms(0.85, 1.2) / full, 0.125, 0.01);
}

TEST_F(Render, LoopingEventKeepsPlayingAndOneShotEndsAndIsReclaimed) {
    Play("Hum");
    Play("Blip");
    EXPECT_EQ(rig->Runtime().InstanceCount(), 2);
    // The one-shot ends after its tenth of a second and goes; the loop stays.
    EXPECT_TRUE(rig->StepUntil([&] { return rig->Runtime().InstanceCount() == 1; }, 0.15));
    rig->Step(0.5);
    EXPECT_EQ(rig->Runtime().InstanceCount(), 1);
    // One unbroken sound, far longer than either sound file.
    auto runs = mix().Runs(kAudible, kSilent);
    ASSERT_EQ(runs.size(), 1u) << Describe(runs);
    EXPECT_GT(runs[0].second, 0.55);
}

TEST_F(Render, OneShotEndsInSilence) {
    Play("Blip");
    EXPECT_TRUE(rig->StepUntil([&] { return rig->Runtime().InstanceCount() == 0; }, 0.15));
    rig->Step(0.2);
    EXPECT_GT(mix().Rms(0.0, 0.09), kAudible);
    EXPECT_LT(mix().Rms(0.11, mix().Seconds()), kSilent);
}

TEST_F(Render, StreamsPlayThroughAndLoopPastTheirEnd) {
    // Longer than the stream's four buffers together, so refilling must work.
    Play("Long");
    EXPECT_TRUE(rig->StepUntil([&] { return rig->Runtime().InstanceCount() == 0; }, 1.6));
    rig->Step(0.2);
    Play("Wrap");
    rig->Step(0.6);
    EXPECT_EQ(rig->Runtime().InstanceCount(), 1);
    auto runs = mix().Runs(kAudible, kSilent);
    // The long stream without a gap, its end, then the looping short one to the last moment.
    ASSERT_EQ(runs.size(), 3u) << Describe(runs);
    EXPECT_NEAR(runs[0].second, 1.5, 0.03);
    EXPECT_FALSE(runs[1].first);
    EXPECT_GT(runs[2].second, 0.5);
}

TEST_F(Render, AStreamStaysFedThroughOneVeryLongFrame) {
    Play("Long");
    rig->Step(1.2, 1.2f);
    auto runs = mix().Runs(kAudible, kSilent);
    ASSERT_EQ(runs.size(), 1u) << Describe(runs);
    EXPECT_NEAR(runs[0].second, 1.2, 0.03);
}

TEST_F(Render, TheSameFramesMakeTheSameSound) {
    auto run = [&] {
        rig = MakeRig();
        Play("Hum");
        Play("Long");
        rig->Step(0.3);
        rig->Send(MessageSetBusVolume("SFX", 0.5f));
        rig->Send(MessageAudioParameter("Duck", 1.0f));
        Play("Ducked");
        rig->Step(0.5, 0.02f);
        return mix();
    };
    Mix first = run();
    Mix second = run();
    ASSERT_EQ(first.left.size(), second.left.size());
    EXPECT_GT(first.Rms(0.0, first.Seconds()), kAudible);
    EXPECT_TRUE(first.left == second.left && first.right == second.right);
}

}  // namespace

TEST_F(Render, ReloadReDecodesAChangedSoundAndKeepsTheOldOneWhenTheFileBreaks) {
    namespace fs = std::filesystem;
    const fs::path tone = assets.Root() / "Assets/Banks/Sounds/Tone.wav";
    auto level = [&] {
        const double from = mix().Seconds();
        Play("Tone");
        rig->Step(1.2);  // the whole second of tone and some silence after
        return mix().Rms(from + 0.05, from + 0.9);
    };
    const double loud = level();
    ASSERT_GT(loud, 0.1);

    // Same length and size, so only the time tells the file changed.
    const auto written = fs::last_write_time(tone);
    audio_test::WriteTone(assets, "Assets/Banks/Sounds/Tone.wav", 1.0, 450.0, 0.1);
    fs::last_write_time(tone, written);
    rig->Send(MessageContentReloaded());
    EXPECT_NEAR(level() / loud, 1.0, 0.02) << "an unchanged stamp must not re-read";

    fs::last_write_time(tone, written + std::chrono::seconds(5));
    rig->Send(MessageContentReloaded());
    const double quiet = level();
    EXPECT_NEAR(quiet / loud, 0.2, 0.02);

    assets.Write("Assets/Banks/Sounds/Tone.wav", "RIFF and nothing more");
    fs::last_write_time(tone, written + std::chrono::seconds(10));
    testing::internal::CaptureStderr();
    rig->Send(MessageContentReloaded());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Sounds/Tone.wav"), std::string::npos) << said;
    EXPECT_EQ(said.find("Tone.wav"), said.rfind("Tone.wav")) << "one error per file: " << said;
    EXPECT_NEAR(level() / quiet, 1.0, 0.02);
}

TEST_F(Render, ReloadWhileASoundPlaysLetsItFinishWithTheOldData) {
    namespace fs = std::filesystem;
    const fs::path blip = assets.Root() / "Assets/Banks/Sounds/Blip.wav";
    Play("Hum");
    rig->Step(0.3);
    const double before = mix().Rms(0.05, 0.3);
    ASSERT_GT(before, 0.1);
    audio_test::WriteTone(assets, "Assets/Banks/Sounds/Blip.wav", 0.2, 450.0, 0.1);
    fs::last_write_time(blip, fs::last_write_time(blip) + std::chrono::seconds(5));
    rig->Send(MessageContentReloaded());
    rig->Step(0.3);
    // The looping voice holds the old buffer; it neither stops nor changes under it.
    EXPECT_NEAR(mix().Rms(0.35, 0.6) / before, 1.0, 0.05);
}
