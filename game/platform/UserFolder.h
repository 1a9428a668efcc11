#pragma once

#include <filesystem>

/// The folder the player's own files of the game (its settings) go in: the platform's folder
/// for per-user configuration, or empty when the environment names none usable.
std::filesystem::path UserConfigFolder();
