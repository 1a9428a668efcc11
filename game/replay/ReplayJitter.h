#pragma once

#include <cstdint>

#include "game/replay/ReplayFile.h"

/// A copy of `replay` whose every input is moved by a random whole number of frames in
/// [-frames, +frames], as a person's timing would differ from play to play. The inputs of one
/// channel (one key code, the cursor, the wheel, the focus) keep their order, at least a frame
/// apart, so a key's release still comes after its press; inputs stay inside the recording's
/// frames. The same seed gives the same copy.
Replay JitterReplay(const Replay& replay, int frames, std::uint32_t seed);
