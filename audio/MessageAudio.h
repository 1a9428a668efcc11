#pragma once

#include <functional>
#include <string_view>

#include <glm/vec3.hpp>

#include "engine/Message.h"
#include "engine/MessageId.h"

/// Plays the one-shot event "event:/" + `name` at a world position. Position and velocity are
/// copied in, so a sender may pass temporaries; the manager keeps nothing after the call.
class MessageAudioEvent final : public Message {
public:
    MessageAudioEvent(std::string_view name, const glm::vec3& position, const glm::vec3& velocity)
        : name(name), position(position), velocity(velocity) {}
    int TypeId() const override { return MessageId::AudioEvent; }
    std::ostream& Trace(std::ostream& out) const override { return out << "FMOD " << name; }

    /// The event path without its "event:/" prefix, for example "Player/Jump".
    std::string_view name;
    /// World units.
    glm::vec3 position;
    glm::vec3 velocity;
};

/// Loads a resource by name. The audio manager acts on kBank and kEvent; other kinds belong to
/// other managers and pass by.
class MessageLoad final : public Message {
public:
    /// Load "Assets/Banks/<name>.bank" and register every event in it.
    static constexpr int kBank = 0;
    /// Register the single event whose full path ("event:/...") is the name.
    static constexpr int kEvent = 2;

    MessageLoad(int kind, std::string_view name) : kind(kind), name(name) {}
    int TypeId() const override { return MessageId::Load; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Message: Load " << name;
    }

    int kind;
    std::string_view name;
};

/// Where the listening entity is; sent every frame by SystemAudioListener. Sounds are placed
/// relative to the last one received, and game systems follow it as the player's position.
class MessageListenerPosition final : public Message {
public:
    MessageListenerPosition(const glm::vec3& position, const glm::vec3& velocity)
        : position(position), velocity(velocity) {}
    int TypeId() const override { return MessageId::ListenerPosition; }
    std::ostream& Trace(std::ostream& out) const override { return out; }

    glm::vec3 position;
    glm::vec3 velocity;
};

/// Sets a global parameter of the sound content ("Walking Speed", "PauseMenuScreen", ...).
class MessageAudioParameter final : public Message {
public:
    MessageAudioParameter(std::string_view name, float value) : name(name), value(value) {}
    int TypeId() const override { return MessageId::AudioParameter; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Audio parameter " << name << " to " << value;
    }

    std::string_view name;
    float value;
};

/// Sets the volume (linear gain, 1 = unchanged) of bus "bus:/" + `bus`; an empty name is the
/// master bus.
class MessageSetBusVolume final : public Message {
public:
    MessageSetBusVolume(std::string_view bus, float volume) : bus(bus), volume(volume) {}
    int TypeId() const override { return MessageId::SetBusVolume; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Set bus volume " << bus << " to " << volume;
    }

    std::string_view bus;
    float volume;
};

/// Reads the volume of bus "bus:/" + `bus` and hands it to `callback` during the call.
class MessageQueryBusVolume final : public Message {
public:
    MessageQueryBusVolume(std::string_view bus, const std::function<void(float)>& callback)
        : bus(bus), callback(callback) {}
    int TypeId() const override { return MessageId::QueryBusVolume; }
    std::ostream& Trace(std::ostream& out) const override {
        return out << "Query bus volume " << bus;
    }

    std::string_view bus;
    /// Points at the sender's callable for the length of one delivery.
    const std::function<void(float)>& callback;
};
