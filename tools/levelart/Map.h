#pragma once

#include <string>

#include "tools/levelart/Layouts.h"

namespace levelart {

/// Writes a level's map `<level>.json` and its tile set `<level>Tiles.json` (which names the
/// texture `Level/<level>Tiles.png`) under Assets/Data/Tiled.
bool WriteMap(const std::string& level, const Layout& layout);

}  // namespace levelart
