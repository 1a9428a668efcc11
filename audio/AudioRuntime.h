#pragma once

#include <list>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "audio/AudioBankFile.h"
#include "audio/AudioBus.h"
#include "audio/AudioEvent.h"
#include "audio/AudioOutput.h"
#include "audio/AudioParameters.h"
#include "audio/AudioResult.h"
#include "audio/AudioSoundCache.h"
#include "audio/AudioVoice.h"

// The sound runtime under ManagerAudio: banks of events, event instances placed in 3D,
// global parameters bound to volume and pitch, and a bus hierarchy, mixed by OpenAL. Its time
// moves only when Update says how much has passed. Used from one thread only.
namespace audio {

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
    /// As above, but mixes into `target` instead of a device: each Update renders exactly the
    /// time it is given.
    Result Initialize(int maxVoices, RenderTarget target);
    bool HasDevice() const { return output.IsOpen(); }

    /// Loads a bank file. On ErrFileBad, LastErrorDetail() says what is wrong and where.
    Result LoadBankFile(const std::string& file, Bank** bank);
    Result GetEvent(std::string_view path, EventDescription** description);
    Result GetBus(std::string_view path, Bus** bus);
    Result SetParameterByName(std::string_view name, float value, bool ignoreSeekSpeed);
    /// `value` is the target last set, `finalValue` where seeking has got to.
    Result GetParameterByName(std::string_view name, float* value, float* finalValue) const;
    /// Once per frame, with the seconds since the last one: seeks parameters, refills
    /// streams, applies gains and pauses, renders when rendering, and reclaims released
    /// instances that have finished.
    Result Update(float dt);

    const std::string& LastErrorDetail() const { return lastError; }
    /// Instances alive: playing, or stopped but not yet released.
    int InstanceCount() const { return static_cast<int>(instances.size()); }
    /// Sound files checked or decoded so far, per channel layout.
    int DecodedSoundCount() const { return sounds.Count(); }
    /// Re-reads the sound files that changed on disk since they were read; see SoundCache.
    int ReloadChangedSounds(std::vector<std::string>& failed) {
        return sounds.ReloadChanged(failed);
    }

private:
    friend class EventDescription;
    friend class EventInstance;
    friend class Bank;

    Result Opened(Result result, int maxVoices);
    Result CheckBank(const std::string& file, const BankFile& data);
    EventInstance& NewInstance(EventDescription& description);
    Result StartInstance(EventInstance& instance);
    void StopInstance(EventInstance& instance);
    void ApplyMix(EventInstance& instance);
    void DestroyInstancesOf(const EventDescription* description);
    void UnloadBank(const Bank* bank);
    int CountInstancesOf(const EventDescription* description) const;

    // Declared first so that it goes last: every buffer and source needs its context.
    Output output;
    SoundCache sounds;
    VoicePool voices;
    BusTree buses;
    ParameterTable parameters;
    std::vector<std::unique_ptr<Bank>> banks;
    std::list<std::unique_ptr<EventInstance>> instances;
    std::mt19937 random;
    std::string lastError;
};

}  // namespace audio
