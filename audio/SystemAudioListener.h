#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Marks the entity that hears. Its JSON value is not read.
struct ComponentAudioListener {
    static constexpr std::string_view kName = "Audio Listener";
};

inline void from_json(const nlohmann::json&, ComponentAudioListener&) {}

/// Every frame, sends MessageListenerPosition with each listener's world translation and
/// velocity (zero without physics); the last one sent in a frame is the one that counts.
class SystemAudioListener : public System<ComponentAudioListener, SystemAudioListener> {
public:
    bool HandleMessage(const Message& message) override;
};
