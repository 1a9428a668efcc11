#pragma once

#include <chrono>
#include <list>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <glm/vec3.hpp>

#include "audio/AudioBankFile.h"
#include "audio/AudioResult.h"

// The sound runtime under ManagerAudio: banks of events, event instances placed in 3D,
// global parameters bound to volume and pitch, and a bus hierarchy, mixed by OpenAL.
// Handles are plain pointers owned by the runtime; every call reports a Result and never
// throws. Used from one thread only.
namespace audio {

class Runtime;
class Bank;
class EventInstance;
struct Voice;

class Bus {
public:
    const std::string& Path() const { return path; }
    Result SetVolume(float volume);
    Result GetVolume(float* volume) const;
    Result SetPaused(bool paused);
    Result GetPaused(bool* paused) const;

    /// Volume of this bus times that of every bus above it.
    float EffectiveVolume() const;
    /// Paused if this bus or any bus above it is.
    bool EffectivePaused() const;

private:
    friend class Runtime;
    std::string path;
    Bus* parent = nullptr;
    float volume = 1.0f;
    bool paused = false;
};

class EventDescription {
public:
    Result CreateInstance(EventInstance** instance);
    /// Stops and destroys every instance of this event at once.
    Result ReleaseAllInstances();
    /// Copies the path into `buffer` (always terminated) and reports the full length + 1.
    Result GetPath(char* buffer, int size, int* retrieved) const;
    const std::string& Path() const { return definition.path; }
    const EventDefinition& Definition() const { return definition; }
    int InstanceCount() const;

private:
    friend class Runtime;
    friend class Bank;
    friend class EventInstance;
    EventDescription(Runtime& runtime, EventDefinition definition)
        : runtime(runtime), definition(std::move(definition)) {}
    Runtime& runtime;
    EventDefinition definition;
    Bus* bus = nullptr;
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

class EventInstance {
public:
    ~EventInstance();
    EventInstance(const EventInstance&) = delete;
    EventInstance& operator=(const EventInstance&) = delete;

    /// Position relative to the listener (world units), as a sound designer places it.
    Result Set3DAttributes(const glm::vec3& position, const glm::vec3& velocity);
    Result Start();
    Result Stop();
    /// The instance goes away once it has stopped; the handle must not be used afterwards.
    Result Release();
    Result GetPlaybackState(PlaybackState* state) const;
    /// The gain and pitch the mix uses now: event, variation, parameter curves and buses.
    float CurrentGain() const;
    float CurrentPitch() const;

private:
    friend class Runtime;
    friend class EventDescription;
    explicit EventInstance(EventDescription& description);
    EventDescription& description;
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};
    float volumeFactor = 1.0f;
    float pitchFactor = 1.0f;
    std::string sound;
    std::unique_ptr<Voice> voice;
    bool started = false;
    bool released = false;
    bool pausedByBus = false;
};

class Runtime {
public:
    /// Opens no device yet; call Initialize.
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    /// Opens the default output device with up to `maxVoices` simultaneous sounds. Without a
    /// device it reports ErrOutputInit and the runtime keeps working silently: banks, events,
    /// parameters and buses behave as usual, nothing is heard.
    Result Initialize(int maxVoices);
    bool HasDevice() const { return device != nullptr; }

    /// Loads a bank file. On ErrFileBad, LastErrorDetail() says what is wrong and where.
    Result LoadBankFile(const std::string& file, Bank** bank);
    Result GetEvent(std::string_view path, EventDescription** description);
    Result GetBus(std::string_view path, Bus** bus);
    Result SetParameterByName(std::string_view name, float value, bool ignoreSeekSpeed);
    /// `value` is the target last set, `finalValue` where seeking has got to.
    Result GetParameterByName(std::string_view name, float* value, float* finalValue) const;
    /// Once per frame: seeks parameters, refills streams, applies gains and pauses, and
    /// reclaims released instances that have finished.
    Result Update();

    const std::string& LastErrorDetail() const { return lastError; }
    /// Instances alive: playing, or stopped but not yet released.
    int InstanceCount() const { return static_cast<int>(instances.size()); }
    /// Sound files decoded into memory so far.
    int DecodedSoundCount() const { return static_cast<int>(sounds.size()); }

private:
    friend class EventDescription;
    friend class EventInstance;
    friend class Bank;

    struct Parameter {
        ParameterDefinition definition;
        float target = 0.0f;
        float current = 0.0f;
    };
    struct Sound {
        unsigned buffer = 0;
    };

    Bus* MakeBus(const std::string& path);
    Result PrepareSound(const std::string& file, bool mono, bool stream);
    void DestroyInstance(EventInstance* instance);
    void DestroyInstancesOf(const EventDescription* description);
    std::unique_ptr<Voice> AcquireVoice();
    void ReturnVoice(std::unique_ptr<Voice> voice);
    void ApplyMix(EventInstance& instance);
    float ParameterValue(const std::string& name) const;
    float Random(float variation);

    void* device = nullptr;
    void* context = nullptr;
    int maxVoices = 0;
    int voicesMade = 0;
    std::vector<unsigned> freeSources;

    std::vector<std::unique_ptr<Bank>> banks;
    std::map<std::string, std::unique_ptr<Bus>, std::less<>> buses;
    std::map<std::string, Parameter, std::less<>> parameters;
    /// Decoded sounds by file and channel layout ("file|mono" or "file|as is").
    std::map<std::string, Sound> sounds;
    std::list<std::unique_ptr<EventInstance>> instances;
    std::mt19937 random;
    std::chrono::steady_clock::time_point lastUpdate;
    std::string lastError;
};

}  // namespace audio
