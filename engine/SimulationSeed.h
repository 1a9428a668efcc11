#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

/// The process-wide seed of the simulation's random draws. Normal play leaves it unset and
/// every generator keeps its own usual seed; recording and replaying set it before the first
/// system is built, so that each generator starts from the recording's seed and a replay draws
/// the same numbers as the run it was recorded from.
///
/// A generator asks for its start with `SeedFor("its own stream name", usualSeed)`: distinct
/// names give unrelated sequences from the one recorded seed. Systems seed their generators
/// when they are constructed (prototypes are built after the seed is set; clones copy the
/// generator's position), never from the wall clock while a seed is set.
namespace simulation_seed {

void Set(std::uint32_t seed);
void Clear();
std::optional<std::uint32_t> Get();

/// The recorded seed mixed with `stream`, or `fallback` when no seed is set.
std::uint32_t SeedFor(std::string_view stream, std::uint32_t fallback);

}  // namespace simulation_seed
