// The audio manager's per-frame work, measured against plain loops doing the same bookkeeping.
// OpenAL Soft mixes into /dev/null through its wave writer, so the device calls are real.

#include <AL/al.h>
#include <AL/alc.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <unistd.h>

#include "audio/VornAudio.h"
#include "engine/MessageFrame.h"
#include "tests/support/TempAssets.h"

namespace {

std::filesystem::path ConfigFile() {
    return std::filesystem::temp_directory_path() /
           ("halvex-audio-bench-" + std::to_string(::getpid()) + ".conf");
}

bool ConfigureNullOutput() {
    auto config = ConfigFile();
    std::ofstream(config) << "[general]\ndrivers = wave\n[wave]\nfile = /dev/null\n";
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove(ConfigFile(), ignored);
    });
    ::setenv("ALSOFT_CONF", config.c_str(), 1);
    return true;
}
const bool kConfigured = ConfigureNullOutput();

constexpr glm::vec3 kZero(0.0f);

// The shipped banks in a temporary working folder.
void CopyBanks(const TempAssets& assets) {
    std::filesystem::copy(std::filesystem::path(HALVEX_SOURCE_DIR) / "Assets/Banks",
                          assets.Root() / "Assets/Banks",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

// The game's audio: the shipped banks loaded as at start-up.
struct Game {
    Game() {
        CopyBanks(assets);
        manager = std::make_unique<ManagerAudio>();
        manager->HandleMessage(MessageLoad(MessageLoad::kBank, "Music"));
        manager->HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
    }
    TempAssets assets;
    std::unique_ptr<ManagerAudio> manager;
};

// An event no bank has: one key built and looked up.
void BM_PlayUnknownEvent(benchmark::State& state) {
    Game game;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            game.manager->HandleMessage(MessageAudioEvent("SFX/Nothing", kZero, kZero)));
    }
}
BENCHMARK(BM_PlayUnknownEvent);

// The same key building and lookup in a plain map of the same size.
void BM_ReferenceKeyLookup(benchmark::State& state) {
    std::unordered_map<std::string, void*> map;
    for (int i = 0; i < 14; ++i) map["event:/SFX/" + std::to_string(i)] = nullptr;
    map["event:/SFX/Nothing"] = nullptr;
    std::string key;
    std::string_view name = "SFX/Nothing";
    for (auto _ : state) {
        key.assign("event:/").append(name);
        benchmark::DoNotOptimize(map.find(key));
    }
}
BENCHMARK(BM_ReferenceKeyLookup);

// A 3D one-shot: instance made, placed, started and released; one update per 16 plays
// reclaims the finished ones, as a frame would.
void BM_PlayOneShot(benchmark::State& state) {
    Game game;
    int plays = 0;
    glm::vec3 position(3.0f, 1.0f, 0.0f);
    for (auto _ : state) {
        game.manager->HandleMessage(MessageAudioEvent("SFX/Shot", position, kZero));
        if (++plays % 16 == 0) {
            state.PauseTiming();
            // Ends the round's sounds, as short sounds end, so voices stay free.
            game.manager->Events().at("event:/SFX/Shot")->ReleaseAllInstances();
            game.manager->HandleMessage(MessageUpdate(0.016f));
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_PlayOneShot);

// One frame's update with this many looping sounds playing: parameters seek, every voice
// gets its gain, pitch and pause state.
void BM_UpdateWithLoops(benchmark::State& state) {
    TempAssets assets;
    CopyBanks(assets);
    // A loop that does not stop its own earlier instances.
    assets.Write("Assets/Banks/Loops.bank",
                 R"({"Events": {"event:/Loop": {"Sounds": ["Sounds/Footsteps.wav"],
                   "Loop": true, "Bus": "bus:/SFX",
                   "Parameters": {"Walking Speed": {"Volume": [[0.5, 0], [2, 1]]}}}}})");
    ManagerAudio manager;
    manager.HandleMessage(MessageLoad(MessageLoad::kBank, "Loops"));
    for (int i = 0; i < state.range(0); ++i) {
        manager.HandleMessage(MessageAudioEvent("Loop", kZero, kZero));
    }
    manager.HandleMessage(MessageAudioParameter("Walking Speed", 5.0f));
    for (auto _ : state) manager.HandleMessage(MessageUpdate(0.016f));
    state.counters["instances"] = manager.Runtime().InstanceCount();
}
BENCHMARK(BM_UpdateWithLoops)->Arg(1)->Arg(32);

// The OpenAL calls an update makes for each playing voice, made directly on as many sources
// of a device of the same kind: what the runtime's own bookkeeping adds is the difference.
void BM_ReferenceRawOpenAL(benchmark::State& state) {
    ALCdevice* device = alcOpenDevice(nullptr);
    ALCcontext* context = alcCreateContext(device, nullptr);
    alcMakeContextCurrent(context);
    std::vector<ALuint> sources(static_cast<std::size_t>(state.range(0)));
    alGenSources(static_cast<ALsizei>(sources.size()), sources.data());
    for (auto _ : state) {
        for (ALuint source : sources) {
            alSourcef(source, AL_GAIN, 0.5f);
            alSourcef(source, AL_PITCH, 1.0f);
            alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
            alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
            ALint playing = 0;
            alGetSourcei(source, AL_SOURCE_STATE, &playing);
            benchmark::DoNotOptimize(playing);
        }
    }
    alDeleteSources(static_cast<ALsizei>(sources.size()), sources.data());
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
}
BENCHMARK(BM_ReferenceRawOpenAL)->Arg(1)->Arg(32);

// Loading the shipped SFX bank: reading, checking and decoding every sound.
void BM_LoadSfxBank(benchmark::State& state) {
    TempAssets assets;
    CopyBanks(assets);
    for (auto _ : state) {
        state.PauseTiming();
        auto manager = std::make_unique<ManagerAudio>();
        state.ResumeTiming();
        manager->HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
        state.PauseTiming();
        manager.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadSfxBank)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
