#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "audio/VornAudio.h"
#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "tests/support/TempAssets.h"

// OpenAL Soft limited to the wave writer with no file to write: no device can open, as on a
// machine without a sound card. Set while the program starts, before any device is asked for.
namespace {
std::filesystem::path ConfigFile() {
    return std::filesystem::temp_directory_path() /
           ("halvex-audio-nodevice-" + std::to_string(::getpid()) + ".conf");
}

bool ConfigureNoDevice() {
    auto config = ConfigFile();
    std::ofstream(config) << "[general]\ndrivers = wave\n";
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove(ConfigFile(), ignored);
    });
    ::setenv("ALSOFT_CONF", config.c_str(), 1);
    return true;
}
const bool kConfigured = ConfigureNoDevice();

constexpr glm::vec3 kZero(0.0f);

TEST(NoDevice, OneClearLineThenEverythingWorksSilently) {
    ASSERT_TRUE(kConfigured);
    TempAssets assets;
    assets.Write("Assets/Banks/Master.bank",
                 R"({"Buses": {"bus:/SFX": {}}, "Parameters": {"PauseMenuScreen": {}}})");
    assets.Write("Assets/Banks/Master.strings.bank", "{}");
    std::filesystem::create_directories(assets.Root() / "Assets/Banks/Sounds");
    std::filesystem::copy_file(
        std::filesystem::path(HALVEX_SOURCE_DIR) / "Assets/Banks/Sounds/Jump.wav",
        assets.Root() / "Assets/Banks/Sounds/Beep.wav");
    assets.Write("Assets/Banks/SFX.bank",
                 R"({"Events": {"event:/Beep": {"Sounds": ["Sounds/Beep.wav"], "Loop": true,
                     "Bus": "bus:/SFX"}}})");
    testing::internal::CaptureStdout();
    {
        ManagerAudio manager;
        EXPECT_FALSE(manager.Runtime().HasDevice());
        manager.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
        manager.HandleMessage(MessageAudioEvent("Beep", kZero, kZero));
        manager.HandleMessage(MessageAudioParameter("PauseMenuScreen", 1.0f));
        manager.HandleMessage(MessageSetBusVolume("SFX", 0.3f));
        manager.HandleMessage(MessageTrigger("Window Focus", false));
        for (int i = 0; i < 10; ++i) manager.HandleMessage(MessageUpdate(0.016f));
        EXPECT_NE(manager.Events().at("event:/Beep"), nullptr);
        EXPECT_EQ(manager.Runtime().InstanceCount(), 0);
        float volume = 0.0f;
        std::function<void(float)> read = [&](float v) { volume = v; };
        manager.HandleMessage(MessageQueryBusVolume("SFX", read));
        EXPECT_FLOAT_EQ(volume, 0.3f);
    }
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed,
              "FMOD_ERR_OUTPUT_INIT: no audio output device, the game runs without sound\n");
}

}  // namespace
