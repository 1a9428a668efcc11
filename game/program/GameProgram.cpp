#include "game/program/GameProgram.h"

#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "audio/VornAudio.h"
#include "engine/DataError.h"
#include "engine/SimulationSeed.h"
#include "engine/VornEngine.h"
#include "game/Roster.h"
#include "game/hud/ManagerFrameOverlay.h"
#include "game/menu/ManagerDebugMarker.h"
#include "game/platform/ResidentMemory.h"
#include "game/program/ContentFolder.h"
#include "game/program/ProfileReport.h"
#include "game/program/ProgramOptions.h"
#include "game/replay/ManagerReplayPlayer.h"
#include "game/replay/ManagerReplayRecorder.h"
#include "game/replay/ReplayFile.h"
#include "game/replay/ReplayJitter.h"
#include "game/replay/StateHash.h"
#include "game/settings/ManagerSettings.h"
#include "services/graphics/VornGraphics.h"

namespace {

constexpr const char* kFirstState = "SplashScreen";
constexpr const char* kErrorState = "ErrorScreen";

// Every random draw of the simulation follows the recording's seed: the C library's generator
// here, the others where they are built (see engine/SimulationSeed.h).
void SeedSimulation(std::uint32_t seed) {
    simulation_seed::Set(seed);
    std::srand(simulation_seed::SeedFor("rand", 1u));
}

std::uint32_t FreshSeed() {
    std::random_device device;
    return device();
}

std::string ResultLine(const char* what, int frames, const std::string& start,
                       const std::string& state, const std::string& hash) {
    return std::string(what) + ": frames " + std::to_string(frames) + ", from " + start +
           ", state " + state + ", hash " + hash;
}

struct GameRun {
    Engine engine;
    ManagerState* states = nullptr;
};

// Builds the engine as normal play does; the window is left out when headless, and the
// recorder or the player sits between the window and the sound.
void Build(GameRun& run, const ProgramOptions& options, std::unique_ptr<Manager> input) {
    auto states = std::make_unique<ManagerState>();
    run.states = states.get();
    run.engine.AddManager(std::move(states));
    if (!options.headless) {
        run.engine.AddManager(std::make_unique<ManagerFrameOverlay>(run.states));
        run.engine.AddManager(std::make_unique<ManagerDebugMarker>());
        WindowOptions window;
        window.liveInput = options.replay.empty();
        run.engine.AddManager(
            std::make_unique<ManagerWindow>("Halvex", SystemCamera::kPictureAspect, window));
    }
    if (input) run.engine.AddManager(std::move(input));
    if (options.headless) {
        // The mix is made frame by frame as in play and then dropped.
        audio::RenderTarget nowhere;
        nowhere.write = [](const float*, int) {};
        run.engine.AddManager(std::make_unique<ManagerAudio>(nowhere));
    } else {
        run.engine.AddManager(std::make_unique<ManagerAudio>());
    }
    for (auto& system : MakeRoster()) {
        run.engine.HandleMessage(MessageAddSystem(std::move(system)));
    }
    run.engine.HandleMessage(MessageLoad(MessageLoad::kBank, "Music"));
    run.engine.HandleMessage(MessageLoad(MessageLoad::kBank, "SFX"));
}

int Play(const ProgramOptions& options) {
    GameRun run;
    Build(run, options, nullptr);
    // Only play keeps the player's settings: recordings and replays run on the defaults, so
    // that they neither depend on nor change the player's files.
    run.engine.AddManager(std::make_unique<ManagerSettings>(SettingsPath()));
    // In play a broken level shows what failed in the window; recordings and replays stop.
    run.states->SetErrorState(kErrorState);
    run.engine.HandleMessage(MessageChangeState(kFirstState));
    run.engine.Run();
    return 0;
}

int Record(const ProgramOptions& options) {
    Replay replay;
    replay.start = options.start;
    replay.step = options.step;
    replay.seed = options.seed ? *options.seed : FreshSeed();
    SeedSimulation(replay.seed);
    auto recorder = std::make_unique<ManagerReplayRecorder>(replay);
    ManagerReplayRecorder* recording = recorder.get();
    GameRun run;
    Build(run, options, std::move(recorder));
    run.engine.SetFixedFrameTime(replay.step, true);
    run.engine.HandleMessage(MessageChangeState(replay.start));
    run.engine.Run();
    recording->Finish();
    replay.expect = run.states->CurrentState();
    const std::string hash = HashCurrentState(run.engine, *run.states);
    WriteReplayFile(options.record, replay);
    std::cout << ResultLine("record", replay.frames, replay.start, replay.expect, hash)
              << ", written to " << options.record << std::endl;
    return 0;
}

using ProgramClock = std::chrono::steady_clock;
const ProgramClock::time_point programStart = ProgramClock::now();

int PlayOnce(const ProgramOptions& options, const Replay& replay, double& readyMs) {
    SeedSimulation(replay.seed);
    auto player = std::make_unique<ManagerReplayPlayer>(replay);
    ManagerReplayPlayer* playing = player.get();
    GameRun run;
    Build(run, options, std::move(player));
    run.engine.SetFixedFrameTime(replay.step, !options.headless);
    run.engine.HandleMessage(MessageChangeState(replay.start));
    if (readyMs < 0.0) {
        readyMs =
            std::chrono::duration<double, std::milli>(ProgramClock::now() - programStart).count();
    }
    run.engine.Run();
    const std::string& state = run.states->CurrentState();
    const std::string hash = HashCurrentState(run.engine, *run.states);
    std::cout << ResultLine("replay", playing->FramesRun(), replay.start, state, hash);
    if (state == replay.expect) {
        std::cout << ", expected state reached" << std::endl;
        return 0;
    }
    std::cout << ", expected state NOT reached (wanted " << replay.expect << ")" << std::endl;
    return 1;
}

// Plays `repeat` copies of the recording, each with its inputs moved by up to `jitter` frames,
// and says how many reached the expected state: how much timing error the input admits.
int PlayJittered(const ProgramOptions& options, const Replay& replay) {
    double readyMs = -1.0;
    int reached = 0;
    for (int round = 0; round < options.repeat; ++round) {
        const std::uint32_t seed = options.jitterSeed + static_cast<std::uint32_t>(round);
        const Replay moved = JitterReplay(replay, options.jitter, seed);
        if (PlayOnce(options, moved, readyMs) == 0) ++reached;
    }
    std::cout << "jitter: +-" << options.jitter << " frames, seeds " << options.jitterSeed << " to "
              << options.jitterSeed + static_cast<std::uint32_t>(options.repeat - 1) << ", "
              << reached << " of " << options.repeat << " runs reached the expected state"
              << std::endl;
    return reached == options.repeat ? 0 : 1;
}

int PlayBack(const ProgramOptions& options, const Replay& replay) {
    if (options.jitter > 0) return PlayJittered(options, replay);
    FrameProfile profile(true);
    if (options.profile) FrameProfile::SetActive(&profile);
    double readyMs = -1.0;
    // Measured after the first play, once the caches that live for the run are filled.
    int result = PlayOnce(options, replay, readyMs);
    const long residentFirst = ResidentKiB();
    for (int round = 1; round < options.repeat && result == 0; ++round) {
        result = PlayOnce(options, replay, readyMs);
    }
    FrameProfile::SetActive(nullptr);
    if (options.repeat > 1) {
        std::cout << "soak: " << options.repeat << " plays, resident " << residentFirst
                  << " KiB after the first, " << ResidentKiB() << " KiB after the last"
                  << std::endl;
    }
    if (options.profile) WriteProfileReport(std::cout, profile, readyMs);
    return result;
}

// Every path the game reads is relative to the folder holding Assets/, so once found that
// folder becomes the working folder. Paths from the command line are taken relative to the
// folder the program was started in, before the move.
bool EnterContentFolder(ProgramOptions& options, const char* argv0) {
    std::error_code error;
    if (!options.record.empty()) {
        const std::filesystem::path record = std::filesystem::absolute(options.record, error);
        if (!error) options.record = record.string();
    }
    const std::filesystem::path working = std::filesystem::current_path(error);
    const auto candidates =
        ContentCandidates(error ? std::filesystem::path() : working, ExecutablePath(argv0),
                          HALVEX_INSTALLED_CONTENT, HALVEX_CONTENT_FROM_PROGRAM);
    const auto folder = FindContent(candidates);
    if (folder) std::filesystem::current_path(*folder, error);
    if (!folder || error) {
        std::cerr << "Halvex: error: " << ContentNotFoundText(candidates) << std::endl;
        return false;
    }
    return true;
}

}  // namespace

int RunGame(int argc, char** argv) {
    ProgramOptions options;
    Replay replay;
    try {
        options = ParseProgramOptions(
            std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0)));
        if (!options.replay.empty()) replay = ReadReplayFile(options.replay);
    } catch (const UsageError& e) {
        std::cerr << "Halvex: " << e.what() << "\n" << ProgramUsage() << std::endl;
        return 2;
    } catch (const DataError& e) {
        std::cerr << "Halvex: error: " << e.what() << std::endl;
        return 2;
    }
    if (!EnterContentFolder(options, argc > 0 ? argv[0] : nullptr)) return 2;
    try {
        if (!options.record.empty()) return Record(options);
        if (!options.replay.empty()) return PlayBack(options, replay);
        return Play(options);
    } catch (const std::exception& e) {
        std::cerr << "Halvex: error: " << e.what() << std::endl;
        return 1;
    }
}
