#include "game/program/ProgramOptions.h"

#include <charconv>

namespace {

const std::string& Value(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        throw UsageError(args[i] + " needs a value");
    }
    return args[++i];
}

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions options;
    bool startGiven = false;
    bool stepGiven = false;
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
            const std::string& text = Value(args, i);
            int repeat = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), repeat);
            if (error != std::errc() || end != text.data() + text.size() || repeat < 1) {
                throw UsageError("--repeat needs a whole number of at least 1, not \"" + text +
                                 "\"");
            }
            options.repeat = repeat;
        } else if (arg == "--start") {
            options.start = Value(args, i);
            startGiven = true;
        } else if (arg == "--seed") {
            const std::string& text = Value(args, i);
            std::uint32_t seed = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
            if (error != std::errc() || end != text.data() + text.size()) {
                throw UsageError("--seed needs an unsigned 32-bit integer, not \"" + text + "\"");
            }
            options.seed = seed;
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
    if (options.replay.empty() && (options.profile || options.repeat != 1)) {
        throw UsageError("--profile and --repeat belong to --replay");
    }
    if (options.record.empty() && (startGiven || options.seed || stepGiven)) {
        throw UsageError("--start, --seed and --step belong to --record");
    }
    return options;
}

const char* ProgramUsage() {
    return "usage: Halvex [--record FILE [--start STATE] [--seed N] [--step SECONDS]]\n"
           "              [--replay FILE [--headless] [--profile] [--repeat N]]";
}
