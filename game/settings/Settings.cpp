#include "game/settings/Settings.h"

#include "game/platform/UserFolder.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include <nlohmann/json.hpp>

using json = nlohmann::json;

namespace {

constexpr const char* kMusic = "Music Volume";
constexpr const char* kEffects = "Effects Volume";
constexpr const char* kFullscreen = "Fullscreen";

float Volume(const json& file, const char* key, float fallback) {
    if (!file.contains(key)) return fallback;
    const json& value = file.at(key);
    if (!value.is_number()) {
        throw std::runtime_error(std::string("\"") + key + "\": type must be number, but is " +
                                 value.type_name());
    }
    const float volume = value.get<float>();
    if (std::isnan(volume)) return fallback;
    return std::clamp(volume, 0.0f, 1.0f);
}

}  // namespace

std::filesystem::path SettingsPath() {
    const std::filesystem::path folder = UserConfigFolder();
    if (folder.empty()) return {};
    return folder / "settings.json";
}

Settings ReadSettings(const std::filesystem::path& path, const SettingsWarning& warn) {
    Settings settings;
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) return settings;
    try {
        // A pipe or a device in its place would block the start or never end.
        if (!std::filesystem::is_regular_file(path, error)) {
            throw std::runtime_error("not a regular file");
        }
        std::ifstream in(path);
        if (!in) throw std::runtime_error("cannot be read");
        const json file = json::parse(in);
        if (!file.is_object()) throw std::runtime_error("must be a JSON object");
        Settings read;
        read.musicVolume = Volume(file, kMusic, read.musicVolume);
        read.effectsVolume = Volume(file, kEffects, read.effectsVolume);
        if (file.contains(kFullscreen)) {
            const json& value = file.at(kFullscreen);
            if (!value.is_boolean()) {
                throw std::runtime_error(std::string("\"") + kFullscreen +
                                         "\": type must be boolean, but is " + value.type_name());
            }
            read.fullscreen = value.get<bool>();
        }
        settings = read;
    } catch (const std::exception& e) {
        warn(path.string() + ": " + e.what() + "; the default settings are used");
    }
    return settings;
}

bool WriteSettings(const std::filesystem::path& path, const Settings& settings,
                   const SettingsWarning& warn) {
    if (path.empty()) return false;
    // Four decimals are finer than any slider step and keep the file readable.
    auto rounded = [](float volume) { return std::round(static_cast<double>(volume) * 1e4) / 1e4; };
    const json file = {{kMusic, rounded(settings.musicVolume)},
                       {kEffects, rounded(settings.effectsVolume)},
                       {kFullscreen, settings.fullscreen}};
    std::filesystem::path temporary = path;
    temporary += ".new";
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << file.dump(2) << "\n";
        out.close();
        if (!out) {
            warn(path.string() + ": cannot be written; the settings are not kept");
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        warn(path.string() + ": cannot be written (" + error.message() +
             "); the settings are not kept");
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}
