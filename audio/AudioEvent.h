#pragma once

#include <memory>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "audio/AudioBankFile.h"
#include "audio/AudioBus.h"
#include "audio/AudioResult.h"

// The handles the runtime gives out for banks, events and their playing instances. They
// belong to the runtime; every call reports a Result and never throws.
namespace audio {

class Runtime;
class EventInstance;
class Voice;

class EventDescription {
public:
    Result CreateInstance(EventInstance** instance);
    /// Stops and destroys every instance of this event at once.
    Result ReleaseAllInstances();
    /// Copies the path into `buffer` (always terminated) and reports the full length + 1.
    Result GetPath(char* buffer, int size, int* retrieved) const;
    const std::string& Path() const { return definition.path; }
    const EventDefinition& Definition() const { return definition; }
    const Bus& PlaysOn() const { return bus; }
    int InstanceCount() const;

private:
    friend class Runtime;
    friend class EventInstance;
    EventDescription(Runtime& runtime, EventDefinition definition, const Bus& bus)
        : runtime(runtime), definition(std::move(definition)), bus(bus) {}
    Runtime& runtime;
    EventDefinition definition;
    const Bus& bus;
};

class Bank {
public:
    const std::string& File() const { return file; }
    Result GetEventCount(int* count) const;
    /// Fills up to `capacity` descriptions in path order and reports how many it wrote.
    Result GetEventList(EventDescription** array, int capacity, int* count) const;
    /// Destroys the bank's events and their instances; the handle is gone afterwards.
    Result Unload();

private:
    friend class Runtime;
    Bank(Runtime& runtime, std::string file) : runtime(runtime), file(std::move(file)) {}
    Runtime& runtime;
    std::string file;
    std::vector<std::unique_ptr<EventDescription>> events;
};

enum class PlaybackState { Playing, Stopped };

/// One play of an event. Starting it again restarts it.
class EventInstance {
public:
    ~EventInstance();
    EventInstance(const EventInstance&) = delete;
    EventInstance& operator=(const EventInstance&) = delete;

    /// Position relative to the listener (world units), as a sound designer places it.
    Result Set3DAttributes(const glm::vec3& position, const glm::vec3& velocity);
    /// Stops every playing instance of the events this one lists in "Stops", then plays one
    /// of its sounds, picked at random, with fresh volume and pitch variations.
    Result Start();
    Result Stop();
    /// The instance goes away once it has stopped; the handle must not be used afterwards.
    Result Release();
    Result GetPlaybackState(PlaybackState* state) const;
    /// The gain and pitch the mix uses now: event, variation, parameter curves and buses.
    float CurrentGain() const;
    float CurrentPitch() const;
    const EventDescription& Description() const { return description; }
    /// The sound file the last start picked; empty before any start or for a silent event.
    const std::string& Sound() const { return sound; }

private:
    friend class Runtime;
    explicit EventInstance(EventDescription& description);
    EventDescription& description;
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};
    float volumeFactor = 1.0f;
    float pitchFactor = 1.0f;
    std::string sound;
    std::unique_ptr<Voice> voice;
    bool released = false;
};

}  // namespace audio
