#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "audio/VornAudio.h"
#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TestEngine.h"

using audio_test::AudioRig;
using nlohmann::json;
using testing::HasSubstr;

namespace {

constexpr glm::vec3 kZero(0.0f);

json OneEvent(const std::string& path, const std::string& sound = "Sounds/Blip.wav") {
    return {{"Events", {{path, {{"Sounds", {sound}}}}}}};
}

class ManagerAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio_test::WriteMasterBanks(assets);
        audio_test::WriteTone(assets, "Assets/Banks/Sounds/Blip.wav", 0.1);
    }

    // What the manager prints while `action` runs.
    std::string Printed(const std::function<void()>& action) {
        testing::internal::CaptureStdout();
        action();
        return testing::internal::GetCapturedStdout();
    }

    TempAssets assets;
};

TEST_F(ManagerAudioTest, MissingBankPrintsItsErrorNameAndTheGameGoesOn) {
    audio_test::WriteBank(assets, "SFX", OneEvent("event:/Blip"));
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    EXPECT_EQ(Printed([&] { manager.HandleMessage(MessageLoad(MessageLoad::kBank, "Music")); }),
              "FMOD_ERR_FILE_NOTFOUND");
    ASSERT_TRUE(manager.Banks().count("Music"));
    EXPECT_EQ(manager.Banks().at("Music"), nullptr);
    // Everything after it still works and nothing is consumed.
    EXPECT_FALSE(manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX")));
    EXPECT_FALSE(manager.HandleMessage(MessageAudioEvent("Blip", kZero, kZero)));
    EXPECT_EQ(manager.Runtime().InstanceCount(), 1);
}

TEST_F(ManagerAudioTest, MissingMasterBanksArePrintedAndLeaveNullEntries) {
    std::filesystem::remove(assets.Root() / "Assets/Banks/Master.bank");
    std::filesystem::remove(assets.Root() / "Assets/Banks/Master.strings.bank");
    std::unique_ptr<AudioRig> rig;
    EXPECT_EQ(Printed([&] { rig = std::make_unique<AudioRig>(assets); }),
              "FMOD_ERR_FILE_NOTFOUNDFMOD_ERR_FILE_NOTFOUND");
    EXPECT_EQ(rig->Manager().Banks().at("Master"), nullptr);
    EXPECT_EQ(rig->Manager().Banks().at("Master.strings"), nullptr);
}

TEST_F(ManagerAudioTest, EveryEventOfALoadedBankIsRegistered) {
    json events = json::object();
    for (int i = 0; i < 40; ++i) {
        events["event:/Many/" + std::to_string(i)] = {{"Sounds", {"Sounds/Blip.wav"}}};
    }
    audio_test::WriteBank(assets, "SFX", {{"Events", events}});
    audio_test::WriteBank(assets, "Empty", json::object());
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    EXPECT_EQ(Printed([&] {
                  manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
                  manager.HandleMessage(MessageLoad(MessageLoad::kBank, "Empty"));
              }),
              "");
    EXPECT_NE(manager.Banks().at("Empty"), nullptr);
    EXPECT_EQ(manager.Events().size(), 40u);
    for (int i = 0; i < 40; ++i) {
        auto it = manager.Events().find("event:/Many/" + std::to_string(i));
        ASSERT_NE(it, manager.Events().end()) << i;
        EXPECT_NE(it->second, nullptr);
    }
}

TEST_F(ManagerAudioTest, MasterEventsAreRegisteredOnlyOneByOneOnRequest) {
    audio_test::WriteBank(assets, "Master", OneEvent("event:/Master/Thing"));
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    EXPECT_TRUE(manager.Events().empty());
    // Kinds other than 0 and 2 belong to other managers.
    EXPECT_EQ(Printed([&] {
                  manager.HandleMessage(MessageLoad(1, "event:/Master/Thing"));
                  manager.HandleMessage(MessageLoad(3, "Master"));
              }),
              "");
    EXPECT_TRUE(manager.Events().empty());
    manager.HandleMessage(MessageLoad(MessageLoad::kEvent, "event:/Master/Thing"));
    ASSERT_EQ(manager.Events().size(), 1u);
    EXPECT_NE(manager.Events().at("event:/Master/Thing"), nullptr);
    EXPECT_EQ(
        Printed([&] { manager.HandleMessage(MessageLoad(MessageLoad::kEvent, "event:/Nope")); }),
        "FMOD_ERR_EVENT_NOTFOUND");
    EXPECT_EQ(manager.Events().at("event:/Nope"), nullptr);
}

TEST_F(ManagerAudioTest, EventAskedForBeforeItsBankLoadsPlaysOnceTheBankIsThere) {
    audio_test::WriteBank(assets, "SFX", OneEvent("event:/Late"));
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    manager.HandleMessage(MessageAudioEvent("Late", kZero, kZero));
    EXPECT_EQ(manager.Events().at("event:/Late"), nullptr);
    EXPECT_EQ(manager.Runtime().InstanceCount(), 0);
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    manager.HandleMessage(MessageAudioEvent("Late", kZero, kZero));
    EXPECT_EQ(manager.Runtime().InstanceCount(), 1);
}

TEST_F(ManagerAudioTest, LoadingABankTwiceKeepsTheFirst) {
    audio_test::WriteBank(assets, "SFX", OneEvent("event:/Blip"));
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    audio::Bank* first = manager.Banks().at("SFX");
    EXPECT_EQ(Printed([&] { manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX")); }),
              "FMOD_ERR_EVENT_ALREADY_LOADED");
    EXPECT_EQ(manager.Banks().at("SFX"), first);
    EXPECT_EQ(manager.Events().size(), 1u);
}

TEST_F(ManagerAudioTest, BadBanksNameTheFileAndTheKeyAndRegisterNothing) {
    struct Case {
        std::string text;
        std::string where;
    };
    const Case cases[] = {
        {R"({"Events": {"event:/X": {"Sounds": ["Sounds/Blip.wav"], "Volume": "loud"}}})",
         R"("Events"/"event:/X"/"Volume": type must be number, but is string)"},
        {R"({"Events": {"event:/X": {"Sounds": ["Sounds/Gone.wav"]}}})",
         R"("Events"/"event:/X"/"Sounds": Assets/Banks/Sounds/Gone.wav does not exist)"},
        {R"({"Events": {"event:/X": {"Sounds": ["Sounds/Blip.wav"], "Lop": true}}})",
         R"("Events"/"event:/X"/"Lop": unknown key)"},
        {R"({"Events": {"event:/X": {"Sounds": ["Sounds/Blip.wav"],
             "Parameters": {"Speed": {"Volume": [[0, 1]]}}}}})",
         R"("Events"/"event:/X"/"Parameters"/"Speed": no such parameter)"},
        {R"({"Events": {"event:/X": {"Sounds": ["Sounds/Blip.wav"],
             "Parameters": {"PauseMenuScreen": {"Volume": [[1, 1], [0, 0]]}}}}})",
         R"("PauseMenuScreen"/"Volume": points must be in increasing x)"},
        {R"({"Events": {"event:/X": {"Sounds": ["Sounds/Blip.wav"], "Min Distance": 10,
             "Max Distance": 5}}})",
         R"("Max Distance": must be greater than "Min Distance")"},
        {R"({"Events": {"sound:/X": {"Sounds": ["Sounds/Blip.wav"]}}})",
         R"("Events"/"sound:/X": event paths begin with "event:/")"},
        {R"({"Events": {"event:/X": {"Sounds": ["Sounds/Blip.wav"]}})", "parse error"},
        {R"([1, 2])", "type must be object, but is array"},
    };
    for (const auto& c : cases) {
        assets.Write("Assets/Banks/Bad.bank", c.text);
        AudioRig rig(assets);
        ManagerAudio& manager = rig.Manager();
        std::string printed =
            Printed([&] { manager.HandleMessage(MessageLoad(MessageLoad::kBank, "Bad")); });
        EXPECT_THAT(printed, HasSubstr("FMOD_ERR_FILE_BAD: Assets/Banks/Bad.bank: ")) << c.text;
        EXPECT_THAT(printed, HasSubstr(c.where)) << c.text;
        EXPECT_EQ(manager.Banks().at("Bad"), nullptr);
        EXPECT_TRUE(manager.Events().empty());
    }
}

TEST_F(ManagerAudioTest, UnknownBusesAndParametersArePrintedAndNeverAnswered) {
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    bool answered = false;
    std::function<void(float)> callback = [&](float) { answered = true; };
    EXPECT_EQ(Printed([&] {
                  manager.HandleMessage(MessageSetBusVolume("Nope", 0.5f));
                  manager.HandleMessage(MessageQueryBusVolume("Nope", callback));
                  manager.HandleMessage(MessageAudioParameter("Nope", 1.0f));
              }),
              "FMOD_ERR_EVENT_NOTFOUNDFMOD_ERR_EVENT_NOTFOUNDFMOD_ERR_EVENT_NOTFOUND");
    EXPECT_FALSE(answered);
    manager.HandleMessage(MessageQueryBusVolume("", callback));
    EXPECT_TRUE(answered);
}

TEST_F(ManagerAudioTest, PauseTriggerSetsPauseMenuScreenAndOtherTriggersDoNothing) {
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    float value = -1.0f;
    manager.HandleMessage(MessageTrigger("Pause", true));
    manager.Runtime().GetParameterByName("PauseMenuScreen", &value, nullptr);
    EXPECT_EQ(value, 1.0f);
    manager.HandleMessage(MessageTrigger("Window Focuss", false));
    manager.HandleMessage(MessageTrigger("Pause", false));
    manager.Runtime().GetParameterByName("PauseMenuScreen", &value, nullptr);
    EXPECT_EQ(value, 0.0f);
    audio::Bus* master = nullptr;
    bool paused = true;
    manager.Runtime().GetBus("bus:/", &master);
    master->GetPaused(&paused);
    EXPECT_FALSE(paused);
}

TEST_F(ManagerAudioTest, ParameterSeeksByFrameTimeAtItsSpeedAndClampsToItsRange) {
    audio_test::WriteBank(assets, "Master",
                          {{"Parameters", {{"Slow", {{"Maximum", 2}, {"Seek Speed", 10}}}}}});
    AudioRig rig(assets);
    rig.Send(MessageAudioParameter("Slow", 5.0f));
    float target = 0.0f;
    float heard = 0.0f;
    auto read = [&] {
        EXPECT_EQ(rig.Runtime().GetParameterByName("Slow", &target, &heard), audio::Result::Ok);
    };
    read();
    EXPECT_EQ(target, 2.0f);
    EXPECT_EQ(heard, 0.0f);
    rig.Step(0.05, 0.05f);
    read();
    EXPECT_FLOAT_EQ(heard, 0.5f);
    rig.Step(0.1, 0.05f);
    read();
    EXPECT_FLOAT_EQ(heard, 1.5f);
    // The last step would overshoot; it stops on the target.
    rig.Step(0.1, 0.05f);
    read();
    EXPECT_EQ(heard, 2.0f);
    rig.Send(MessageAudioParameter("Slow", -1.0f));
    rig.Step(0.1, 0.1f);
    read();
    EXPECT_EQ(target, 0.0f);
    EXPECT_FLOAT_EQ(heard, 1.0f);
}

TEST_F(ManagerAudioTest, WhileTheEngineIsPausedSoundTimeRunsOnAtTheLastFrameTime) {
    audio_test::WriteBank(
        assets, "Master",
        {{"Parameters", {{"PauseMenuScreen", {{"Maximum", 1}, {"Seek Speed", 4}}}}}});
    AudioRig rig(assets);
    auto heard = [&] {
        float value = -1.0f;
        EXPECT_EQ(rig.Runtime().GetParameterByName("PauseMenuScreen", nullptr, &value),
                  audio::Result::Ok);
        return value;
    };
    rig.Step(0.04, 0.02f);
    rig.Send(MessageTrigger("Pause", true));
    // The paused engine reports frames of no time; the menu's duck still seeks.
    for (int i = 0; i < 5; ++i) rig.Send(MessageUpdate(0.0f));
    EXPECT_FLOAT_EQ(heard(), 5 * 0.02f * 4);
    rig.Send(MessageTrigger("Pause", false));
    // Out of the pause, a frame of no time is no time.
    rig.Send(MessageUpdate(0.0f));
    EXPECT_FLOAT_EQ(heard(), 5 * 0.02f * 4);
    rig.Step(0.1, 0.05f);
    EXPECT_EQ(heard(), 0.0f);
}

TEST_F(ManagerAudioTest, ThousandsOfOneShotsLeaveNoInstancesBehind) {
    audio_test::WriteBank(assets, "SFX", OneEvent("event:/Blip"));
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 100; ++i)
            manager.HandleMessage(MessageAudioEvent("Blip", kZero, kZero));
        rig.Step(AudioRig::kFrame);
    }
    // Each plays a tenth of a second.
    EXPECT_TRUE(rig.StepUntil([&] { return manager.Runtime().InstanceCount() == 0; }, 0.2));
}

TEST_F(ManagerAudioTest, StopEventsEndTheLoopsTheyName) {
    audio_test::WriteBank(
        assets, "SFX",
        {{"Events",
          {{"event:/Loop",
            {{"Sounds", {"Sounds/Blip.wav"}}, {"Loop", true}, {"Stops", {"event:/Loop"}}}},
           {"event:/Loop Stop", {{"Stops", {"event:/Loop"}}}}}}});
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    manager.HandleMessage(MessageAudioEvent("Loop", kZero, kZero));
    // Starting the loop again replaces it instead of stacking a second copy.
    manager.HandleMessage(MessageAudioEvent("Loop", kZero, kZero));
    rig.Step(0.2);
    EXPECT_EQ(manager.Runtime().InstanceCount(), 1);
    manager.HandleMessage(MessageAudioEvent("Loop Stop", kZero, kZero));
    rig.Step(AudioRig::kFrame);
    EXPECT_EQ(manager.Runtime().InstanceCount(), 0);
}

TEST(ShippedBanks, LoadWithoutComplaintAndRegisterTheGamesEvents) {
    TempAssets assets;
    std::filesystem::copy(std::filesystem::path(HALVEX_SOURCE_DIR) / "Assets/Banks",
                          assets.Root() / "Assets/Banks",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    testing::internal::CaptureStdout();
    AudioRig rig(assets);
    ManagerAudio& manager = rig.Manager();
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "Music"));
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    for (const char* path :
         {"event:/Music/Level", "event:/Music/Stop", "event:/SFX/Jump", "event:/SFX/Land",
          "event:/SFX/Shot", "event:/SFX/Hit", "event:/SFX/Hurt", "event:/SFX/Pickup",
          "event:/SFX/Door", "event:/SFX/Death Wall", "event:/SFX/Death Wall Stop",
          "event:/SFX/Footsteps", "event:/SFX/Footsteps Stop"}) {
        auto it = manager.Events().find(path);
        ASSERT_NE(it, manager.Events().end()) << path;
        EXPECT_NE(it->second, nullptr) << path;
    }
    for (const char* parameter :
         {"PauseMenuScreen", "Walking Speed", "GroundTexture", "Death Wall Distance"}) {
        manager.HandleMessage(MessageAudioParameter(parameter, 0.5f));
    }
    rig.Play("Music/Level");
    rig.Play("SFX/Jump");
    rig.Step(0.4);
    rig.Play("Music/Stop");
    EXPECT_TRUE(rig.StepUntil([&] { return manager.Runtime().InstanceCount() == 0; }));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    double onset = rig.mix.Onset(0.0);
    ASSERT_GE(onset, 0.0);
    EXPECT_LT(onset, 0.05);
    EXPECT_GT(rig.mix.Rms(onset, onset + 0.2), 0.02);
}

// The game's own manager, on the default device: here OpenAL Soft's wave writer, which mixes
// in real time on its own, so only what needs no waiting is checked.
TEST(DeviceOutput, PlaysStopsAndReclaimsOnARealDevice) {
    ASSERT_TRUE(audio_test::DeviceConfigured());
    TempAssets assets;
    audio_test::WriteMasterBanks(assets);
    audio_test::WriteTone(assets, "Assets/Banks/Sounds/Hum.wav", 0.5);
    audio_test::WriteBank(
        assets, "SFX",
        {{"Events",
          {{"event:/Hum", {{"Sounds", {"Sounds/Hum.wav"}}, {"Loop", true}}},
           {"event:/Stream", {{"Sounds", {"Sounds/Hum.wav"}}, {"Loop", true}, {"Stream", true}}},
           {"event:/Quiet", {{"Stops", {"event:/Hum", "event:/Stream"}}}}}}});
    auto made = std::make_unique<ManagerAudio>();
    ManagerAudio& manager = *made;
    std::vector<std::unique_ptr<Manager>> managers;
    managers.push_back(std::move(made));
    TestEngine test({}, std::move(managers));
    assets.Scene("Device", json::object());
    test.Enter("Device");
    ASSERT_TRUE(manager.Runtime().HasDevice());
    test.Send(MessageLoad(MessageLoad::kBank, "SFX"));
    test.Send(MessageAudioEvent("Hum", kZero, kZero));
    test.Send(MessageAudioEvent("Stream", kZero, kZero));
    test.Frames(3);
    ASSERT_EQ(manager.Runtime().InstanceCount(), 2);
    for (const char* path : {"event:/Hum", "event:/Stream"}) {
        EXPECT_EQ(manager.Events().at(path)->InstanceCount(), 1) << path;
    }
    test.Send(MessageAudioEvent("Quiet", kZero, kZero));
    test.Frame();
    EXPECT_EQ(manager.Runtime().InstanceCount(), 0);
}

}  // namespace
