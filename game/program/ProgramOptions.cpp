#include "game/program/ProgramOptions.h"

#include <charconv>

namespace {

const std::string& Value(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        throw UsageError(args[i] + " needs a value");
    }
    return args[++i];
}

int WholeNumber(const std::vector<std::string>& args, std::size_t& i, int least) {
    const std::string& name = args[i];
    const std::string& text = Value(args, i);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < least) {
        throw UsageError(name + " needs a whole number of at least " + std::to_string(least) +
                         ", not \"" + text + "\"");
    }
    return value;
}

std::uint32_t Seed(const std::vector<std::string>& args, std::size_t& i) {
    const std::string& name = args[i];
    const std::string& text = Value(args, i);
    std::uint32_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw UsageError(name + " needs an unsigned 32-bit integer, not \"" + text + "\"");
    }
    return seed;
}

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions options;
    bool startGiven = false;
    bool stepGiven = false;
    bool jitterSeedGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--record") {
            options.record = Value(args, i);
        } else if (arg == "--replay") {
            options.replay = Value(args, i);
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--profile") {
            options.profile = true;
        } else if (arg == "--repeat") {
            options.repeat = WholeNumber(args, i, 1);
        } else if (arg == "--jitter") {
            options.jitter = WholeNumber(args, i, 0);
        } else if (arg == "--jitter-seed") {
            options.jitterSeed = Seed(args, i);
            jitterSeedGiven = true;
        } else if (arg == "--start") {
            options.start = Value(args, i);
            startGiven = true;
        } else if (arg == "--seed") {
            options.seed = Seed(args, i);
        } else if (arg == "--step") {
            const std::string& text = Value(args, i);
            float step = 0.0f;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), step);
            if (error != std::errc() || end != text.data() + text.size() || !(step > 0.0f) ||
                step > 1.0f / 30.0f) {
                throw UsageError("--step needs a frame time above 0 and at most 1/30 s, not \"" +
                                 text + "\"");
            }
            options.step = step;
            stepGiven = true;
        } else {
            throw UsageError("unknown argument \"" + arg + "\"");
        }
    }
    if (!options.record.empty() && !options.replay.empty()) {
        throw UsageError("--record and --replay exclude each other");
    }
    if (options.headless && options.replay.empty()) {
        throw UsageError("--headless needs --replay: without a window there is no input");
    }
    if (options.replay.empty() &&
        (options.profile || options.repeat != 1 || options.jitter != 0 || jitterSeedGiven)) {
        throw UsageError("--profile, --repeat, --jitter and --jitter-seed belong to --replay");
    }
    if (jitterSeedGiven && options.jitter == 0) {
        throw UsageError("--jitter-seed needs --jitter");
    }
    if (options.record.empty() && (startGiven || options.seed || stepGiven)) {
        throw UsageError("--start, --seed and --step belong to --record");
    }
    return options;
}

const char* ProgramUsage() {
    return "usage: Halvex [--record FILE [--start STATE] [--seed N] [--step SECONDS]]\n"
           "              [--replay FILE [--headless] [--profile] [--repeat N]\n"
           "                             [--jitter FRAMES [--jitter-seed N]]]";
}
