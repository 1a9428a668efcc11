#pragma once

#include <vector>

/// The enemies' sounds, at soundgen's rate (22050 Hz, mono, -1..1).
namespace enemy_sounds {

/// A squeaky pop that sinks into a crunch.
std::vector<double> Death();
/// A short wet "ptoo" of a spat seed.
std::vector<double> Spit();

}  // namespace enemy_sounds
