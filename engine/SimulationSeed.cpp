#include "engine/SimulationSeed.h"

#include <atomic>

namespace simulation_seed {
namespace {

// Set once on the main thread before any system exists; loader threads only read it.
std::atomic<bool> isSet{false};
std::atomic<std::uint32_t> value{0};

}  // namespace

void Set(std::uint32_t seed) {
    value = seed;
    isSet = true;
}

void Clear() {
    isSet = false;
}

std::optional<std::uint32_t> Get() {
    if (!isSet) return std::nullopt;
    return value.load();
}

std::uint32_t SeedFor(std::string_view stream, std::uint32_t fallback) {
    if (!isSet) return fallback;
    // FNV-1a over the stream name, started from the seed, then a final avalanche so that
    // neighbouring seeds give unrelated generator states.
    std::uint32_t hash = 2166136261u ^ value.load();
    for (const char c : stream) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    hash ^= hash >> 16;
    hash *= 0x7feb352du;
    hash ^= hash >> 15;
    hash *= 0x846ca68bu;
    hash ^= hash >> 16;
    return hash;
}

}  // namespace simulation_seed
