#include "game/replay/ReplayJitter.h"

#include <algorithm>
#include <map>
#include <random>
#include <utility>

namespace {

/// Inputs that must keep their order among themselves: a key code each, and one channel for
/// each other kind.
std::pair<int, int> Channel(const ReplayInput& input) {
    return {static_cast<int>(input.kind), input.kind == ReplayInput::Kind::Key ? input.key : 0};
}

}  // namespace

Replay JitterReplay(const Replay& replay, int frames, std::uint32_t seed) {
    Replay moved = replay;
    if (frames <= 0 || moved.input.empty()) return moved;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> shift(-frames, frames);
    const int lastFrame = std::max(0, replay.frames - 1);
    std::map<std::pair<int, int>, int> previous;
    for (ReplayInput& input : moved.input) {
        int frame = std::clamp(input.frame + shift(random), 0, lastFrame);
        const auto before = previous.find(Channel(input));
        if (before != previous.end()) frame = std::max(frame, before->second + 1);
        // A channel crowded at the very end shares the last frame, still in order.
        frame = std::min(frame, lastFrame);
        previous[Channel(input)] = frame;
        input.frame = frame;
    }
    // Stable: inputs that land on one frame keep their recorded order.
    std::stable_sort(moved.input.begin(), moved.input.end(),
                     [](const ReplayInput& a, const ReplayInput& b) { return a.frame < b.frame; });
    return moved;
}
