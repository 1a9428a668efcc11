#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/SystemBase.h"

/// Every system of the game, in dispatch order. Each state clones these in this order, so a
/// system early in the list sees each message before the ones after it. `variantSeed` fixes
/// the scenery's random texture variants for tests; without it they take the seed of
/// `simulation_seed::SeedFor("Variant", ...)`, which a replay sets from its recording and
/// normal play leaves to the clock.
std::vector<std::unique_ptr<SystemBase>> MakeRoster(
    std::optional<std::uint32_t> variantSeed = std::nullopt);
