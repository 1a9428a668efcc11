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

using audio_test::Advance;
using audio_test::AdvanceUntil;
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
    ManagerAudio manager;
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
    std::unique_ptr<ManagerAudio> manager;
    EXPECT_EQ(Printed([&] { manager = std::make_unique<ManagerAudio>(); }),
              "FMOD_ERR_FILE_NOTFOUNDFMOD_ERR_FILE_NOTFOUND");
    EXPECT_EQ(manager->Banks().at("Master"), nullptr);
    EXPECT_EQ(manager->Banks().at("Master.strings"), nullptr);
}

TEST_F(ManagerAudioTest, EveryEventOfALoadedBankIsRegistered) {
    json events = json::object();
    for (int i = 0; i < 40; ++i) {
        events["event:/Many/" + std::to_string(i)] = {{"Sounds", {"Sounds/Blip.wav"}}};
    }
    audio_test::WriteBank(assets, "SFX", {{"Events", events}});
    audio_test::WriteBank(assets, "Empty", json::object());
    ManagerAudio manager;
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
    ManagerAudio manager;
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
    ManagerAudio manager;
    manager.HandleMessage(MessageAudioEvent("Late", kZero, kZero));
    EXPECT_EQ(manager.Events().at("event:/Late"), nullptr);
    EXPECT_EQ(manager.Runtime().InstanceCount(), 0);
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    manager.HandleMessage(MessageAudioEvent("Late", kZero, kZero));
    EXPECT_EQ(manager.Runtime().InstanceCount(), 1);
}

TEST_F(ManagerAudioTest, LoadingABankTwiceKeepsTheFirst) {
    audio_test::WriteBank(assets, "SFX", OneEvent("event:/Blip"));
    ManagerAudio manager;
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
        ManagerAudio manager;
        std::string printed =
            Printed([&] { manager.HandleMessage(MessageLoad(MessageLoad::kBank, "Bad")); });
        EXPECT_THAT(printed, HasSubstr("FMOD_ERR_FILE_BAD: Assets/Banks/Bad.bank: ")) << c.text;
        EXPECT_THAT(printed, HasSubstr(c.where)) << c.text;
        EXPECT_EQ(manager.Banks().at("Bad"), nullptr);
        EXPECT_TRUE(manager.Events().empty());
    }
}

TEST_F(ManagerAudioTest, UnknownBusesAndParametersArePrintedAndNeverAnswered) {
    ManagerAudio manager;
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
    ManagerAudio manager;
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

TEST_F(ManagerAudioTest, ParameterSeeksAtItsSpeedAndClampsToItsRange) {
    audio_test::WriteBank(assets, "Master",
                          {{"Parameters", {{"Slow", {{"Maximum", 2}, {"Seek Speed", 10}}}}}});
    ManagerAudio manager;
    manager.HandleMessage(MessageAudioParameter("Slow", 5.0f));
    float target = 0.0f;
    float now = 0.0f;
    manager.Runtime().GetParameterByName("Slow", &target, &now);
    EXPECT_EQ(target, 2.0f);
    EXPECT_EQ(now, 0.0f);
    Advance(manager, 0.05);
    manager.Runtime().GetParameterByName("Slow", &target, &now);
    EXPECT_GT(now, 0.0f);
    EXPECT_LT(now, 2.0f);
    Advance(manager, 0.5);
    manager.Runtime().GetParameterByName("Slow", &target, &now);
    EXPECT_EQ(now, 2.0f);
}

TEST_F(ManagerAudioTest, ThousandsOfOneShotsLeaveNoInstancesBehind) {
    audio_test::WriteBank(assets, "SFX", OneEvent("event:/Blip"));
    ManagerAudio manager;
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 100; ++i)
            manager.HandleMessage(MessageAudioEvent("Blip", kZero, kZero));
        manager.HandleMessage(MessageUpdate(0.01f));
    }
    EXPECT_TRUE(AdvanceUntil(manager, [&] { return manager.Runtime().InstanceCount() == 0; }));
}

TEST_F(ManagerAudioTest, StopEventsEndTheLoopsTheyName) {
    audio_test::WriteBank(
        assets, "SFX",
        {{"Events",
          {{"event:/Loop",
            {{"Sounds", {"Sounds/Blip.wav"}}, {"Loop", true}, {"Stops", {"event:/Loop"}}}},
           {"event:/Loop Stop", {{"Stops", {"event:/Loop"}}}}}}});
    ManagerAudio manager;
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    manager.HandleMessage(MessageAudioEvent("Loop", kZero, kZero));
    // Starting the loop again replaces it instead of stacking a second copy.
    manager.HandleMessage(MessageAudioEvent("Loop", kZero, kZero));
    Advance(manager, 0.2);
    EXPECT_EQ(manager.Runtime().InstanceCount(), 1);
    manager.HandleMessage(MessageAudioEvent("Loop Stop", kZero, kZero));
    Advance(manager, 0.05);
    EXPECT_EQ(manager.Runtime().InstanceCount(), 0);
}

TEST(Curve, InterpolatesBetweenPointsAndHoldsBeyondThem) {
    audio::Curve curve{{{0.0f, 1.0f}, {1.0f, 0.5f}, {3.0f, 0.0f}}};
    EXPECT_FLOAT_EQ(curve.At(-5.0f), 1.0f);
    EXPECT_FLOAT_EQ(curve.At(0.5f), 0.75f);
    EXPECT_FLOAT_EQ(curve.At(2.0f), 0.25f);
    EXPECT_FLOAT_EQ(curve.At(9.0f), 0.0f);
}

TEST(ShippedBanks, LoadWithoutComplaintAndRegisterTheGamesEvents) {
    TempAssets assets;
    std::filesystem::copy(std::filesystem::path(HALVEX_SOURCE_DIR) / "Assets/Banks",
                          assets.Root() / "Assets/Banks",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    testing::internal::CaptureStdout();
    {
        ManagerAudio manager;
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
        manager.HandleMessage(MessageAudioEvent("Music/Level", kZero, kZero));
        manager.HandleMessage(MessageAudioEvent("SFX/Jump", kZero, kZero));
        Advance(manager, 0.4);
        manager.HandleMessage(MessageAudioEvent("Music/Stop", kZero, kZero));
        EXPECT_TRUE(AdvanceUntil(manager, [&] { return manager.Runtime().InstanceCount() == 0; }));
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    audio_test::Mix mix = audio_test::ReadOutput();
    double onset = mix.Onset(0.0);
    ASSERT_GE(onset, 0.0);
    EXPECT_GT(mix.Rms(onset, onset + 0.2), 0.02);
}

}  // namespace
