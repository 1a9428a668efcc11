#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

/// What the command line asks for. Without arguments the game plays as usual.
struct ProgramOptions {
    /// Play and write every input to this file.
    std::string record;
    /// Play this recording back instead of reading input.
    std::string replay;
    /// No window and no sound device; needs a recording to play.
    bool headless = false;
    /// Recording only: the state to begin in, the seed of every random draw, the frame time.
    std::string start = "SplashScreen";
    std::optional<std::uint32_t> seed;
    float step = 1.0f / 60.0f;
    /// Replay only: print frame times and each system's share after the replay line.
    bool profile = false;
    /// Replay only: play the recording this many times in one run and report the resident
    /// memory after the first and after the last (a soak test).
    int repeat = 1;
    /// Replay only: move every input by a random whole number of frames within this many,
    /// differently on each of the `repeat` plays, and count the plays that reach the expected
    /// state. 0 plays the recording as it is.
    int jitter = 0;
    /// The seed of the first jittered play; play i uses jitterSeed + i.
    std::uint32_t jitterSeed = 1;
};

/// A command line that cannot be followed; the text says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// `args` without the program name. Raises UsageError.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& args);

/// The one-paragraph help printed with a usage error.
const char* ProgramUsage();
