#pragma once

#include <filesystem>
#include <functional>
#include <string>

/// The player's choices kept between runs of the game.
struct Settings {
    /// Linear gains of the "Music" and "SFX" buses, 0 to 1.
    float musicVolume = 1.0f;
    float effectsVolume = 1.0f;
    bool fullscreen = false;
};

using SettingsWarning = std::function<void(const std::string&)>;

/// Where the settings live: $XDG_CONFIG_HOME/halvex/settings.json, else
/// $HOME/.config/halvex/settings.json; empty when neither variable gives an absolute folder.
std::filesystem::path SettingsPath();

/// The settings in `path`. A missing file gives the defaults quietly; a file that cannot be
/// read, is not JSON or has a key of the wrong type gives the defaults and one call of `warn`
/// naming the file. Volumes out of range are clamped; absent keys keep their defaults.
Settings ReadSettings(const std::filesystem::path& path, const SettingsWarning& warn);

/// Writes `settings` to `path`, creating its folder. The file is replaced in one step, so an
/// interrupted write leaves the old one. Returns false, after one call of `warn`, on failure.
bool WriteSettings(const std::filesystem::path& path, const Settings& settings,
                   const SettingsWarning& warn);
