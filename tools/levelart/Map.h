#pragma once

namespace levelart {

/// Writes Level1's map and its tile set under Assets/Data/Tiled.
bool WriteMap();

}  // namespace levelart
