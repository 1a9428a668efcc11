#pragma once

#include <filesystem>
#include <string_view>

#include "engine/Manager.h"
#include "game/settings/Settings.h"

/// Keeps the player's settings between runs. Reads the file when built, applies it when the
/// main loop starts (the "Music" and "SFX" bus volumes; at the first update the trigger
/// "Fullscreen" when it is set), follows
/// every later change (MessageSetBusVolume for those buses, the "Fullscreen" trigger) and
/// writes the file when a change is pending and a menu closes, the state changes, the game
/// quits or the manager is destroyed. Only normal play uses it: recordings and replays must
/// neither depend on nor change the player's files.
class ManagerSettings : public Manager {
public:
    /// An empty path keeps the settings for this run only.
    explicit ManagerSettings(std::filesystem::path path);
    ~ManagerSettings() override;
    ManagerSettings(const ManagerSettings&) = delete;
    ManagerSettings& operator=(const ManagerSettings&) = delete;

    bool HandleMessage(const Message& message) override;

    const Settings& Current() const { return settings; }

    static constexpr std::string_view kMusicBus = "Music";
    static constexpr std::string_view kEffectsBus = "SFX";
    static constexpr std::string_view kFullscreenTrigger = "Fullscreen";

private:
    void ApplyVolumes();
    void SaveIfChanged();

    std::filesystem::path path;
    Settings settings;
    bool changed = false;
    bool writeWarned = false;
    bool displayApplied = false;
};
