#pragma once

#include <memory>
#include <vector>

#include "engine/SystemBase.h"

/// Every system of the game, in dispatch order. Each state clones these in this order, so a
/// system early in the list sees each message before the ones after it.
std::vector<std::unique_ptr<SystemBase>> MakeRoster();
