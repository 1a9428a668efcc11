#include "game/settings/ManagerSettings.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "audio/MessageAudio.h"
#include "engine/MessageId.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"
#include "services/ui/MessageUITrigger.h"

namespace {

void Warn(const std::string& text) {
    std::cerr << "Halvex: warning: " << text << std::endl;
}

// Follows a value; a change marks the settings for the next save.
template <class T>
void Follow(T& kept, T value, bool& changed) {
    if (kept == value) return;
    kept = value;
    changed = true;
}

}  // namespace

ManagerSettings::ManagerSettings(std::filesystem::path path)
    : path(std::move(path)), settings(ReadSettings(this->path, Warn)) {}

ManagerSettings::~ManagerSettings() {
    SaveIfChanged();
}

bool ManagerSettings::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Initialize:
            ApplyVolumes();
            return false;
        case MessageId::Update:
            // At the first update, once the first state is in play, so that its systems hear
            // the mode as well as the window does.
            if (!displayApplied) {
                displayApplied = true;
                if (settings.fullscreen) SendMessage(MessageTrigger(kFullscreenTrigger, true));
            }
            return false;
        case MessageId::SetBusVolume: {
            auto& set = static_cast<const MessageSetBusVolume&>(message);
            if (!std::isfinite(set.volume)) return false;
            const float volume = std::clamp(set.volume, 0.0f, 1.0f);
            if (set.bus == kMusicBus) Follow(settings.musicVolume, volume, changed);
            if (set.bus == kEffectsBus) Follow(settings.effectsVolume, volume, changed);
            return false;
        }
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (trigger.name == kFullscreenTrigger) {
                Follow(settings.fullscreen, trigger.value, changed);
                // Switching the display is a choice made at once, not while a menu stays open.
                SaveIfChanged();
            } else if (trigger.name == trigger::Exit) {
                SaveIfChanged();
            }
            return false;
        }
        case MessageId::UIVisibleTrigger:
            // A menu closing is where a slider's changes come to rest.
            if (!static_cast<const MessageUIVisibleTrigger&>(message).value) SaveIfChanged();
            return false;
        case MessageId::ChangeState:
        case MessageId::Quit:
            SaveIfChanged();
            return false;
        default:
            return false;
    }
}

void ManagerSettings::ApplyVolumes() {
    // Before any state is loaded, so that the sliders born with it read these volumes.
    // Copied: the sends come back here.
    const Settings applied = settings;
    SendMessage(MessageSetBusVolume(kMusicBus, applied.musicVolume));
    SendMessage(MessageSetBusVolume(kEffectsBus, applied.effectsVolume));
}

void ManagerSettings::SaveIfChanged() {
    if (!changed) return;
    changed = false;
    // A folder that cannot be written stays so: one warning is enough.
    const bool written = WriteSettings(path, settings, [this](const std::string& text) {
        if (!writeWarned) Warn(text);
    });
    if (!written) writeWarned = true;
}
