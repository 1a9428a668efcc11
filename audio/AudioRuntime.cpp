#include "audio/AudioRuntime.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <dlfcn.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace audio {

namespace {
// Four quarter-second buffers keep a stream fed through a slow frame or two.
constexpr int kStreamBuffers = 4;
constexpr sf_count_t kStreamChunkFrames = 11025;
constexpr float kMaxPitch = 8.0f;
constexpr float kMaxStep = 1.0f / 30.0f;

std::string ParentBus(const std::string& path) {
    // "bus:/SFX/Player" lies under "bus:/SFX", which lies under "bus:/".
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash <= 4) return "bus:/";
    return path.substr(0, slash);
}

// Mixes stereo down to mono in place; spatialised sounds must be mono to be panned.
void DownMix(std::vector<short>& samples, int channels) {
    if (channels != 2) return;
    std::size_t frames = samples.size() / 2;
    for (std::size_t i = 0; i < frames; ++i) {
        samples[i] = static_cast<short>((samples[2 * i] + samples[2 * i + 1]) / 2);
    }
    samples.resize(frames);
}

void IgnoreAlsaComplaint(const char*, int, const char*, int, const char*, ...) {}

// A machine without a sound card makes the output libraries complain on standard error while
// OpenAL probes them; the runtime reports that case itself, in one line, so they are hushed.
// An explicit ALSOFT_LOGLEVEL still wins.
void QuietenOutputProbing() {
    ::setenv("ALSOFT_LOGLEVEL", "0", 0);
    // OpenAL loads ALSA by itself; the library stays loaded so that the handler stays valid.
    void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler"))) {
        set(&IgnoreAlsaComplaint);
    }
}

Result OpenSound(const std::string& file, SNDFILE** handle, SF_INFO* info) {
    std::memset(info, 0, sizeof(*info));
    *handle = sf_open(file.c_str(), SFM_READ, info);
    if (!*handle)
        return std::filesystem::exists(file) ? Result::ErrFormat : Result::ErrFileNotFound;
    if (info->channels < 1 || info->channels > 2 || info->samplerate <= 0) {
        sf_close(*handle);
        *handle = nullptr;
        return Result::ErrFormat;
    }
    return Result::Ok;
}
}  // namespace

struct Voice {
    ALuint source = 0;
    // Streaming only: the open file and the buffers that circulate through the source.
    SNDFILE* file = nullptr;
    SF_INFO info{};
    std::array<ALuint, kStreamBuffers> buffers{};
    bool mono = false;
    bool loop = false;
    std::vector<short> scratch;

    // Decodes the next chunk into `buffer`, wrapping round when looping. False at the end.
    bool Fill(ALuint buffer) {
        scratch.resize(static_cast<std::size_t>(kStreamChunkFrames * info.channels));
        sf_count_t frames = 0;
        bool rewound = false;
        while (frames < kStreamChunkFrames) {
            sf_count_t got = sf_readf_short(file, scratch.data() + frames * info.channels,
                                            kStreamChunkFrames - frames);
            frames += got;
            if (got > 0) {
                rewound = false;
                continue;
            }
            // Nothing even straight after a rewind: an empty file, so stop trying.
            if (!loop || rewound || sf_seek(file, 0, SEEK_SET) < 0) break;
            rewound = true;
        }
        if (frames == 0) return false;
        scratch.resize(static_cast<std::size_t>(frames * info.channels));
        int channels = info.channels;
        if (mono) {
            DownMix(scratch, channels);
            channels = 1;
        }
        alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, scratch.data(),
                     static_cast<ALsizei>(scratch.size() * sizeof(short)), info.samplerate);
        return true;
    }
};

// Buses

Result Bus::SetVolume(float value) {
    if (!std::isfinite(value) || value < 0.0f) return Result::ErrInvalidParam;
    volume = value;
    return Result::Ok;
}

Result Bus::GetVolume(float* value) const {
    if (!value) return Result::ErrInvalidParam;
    *value = volume;
    return Result::Ok;
}

Result Bus::SetPaused(bool value) {
    paused = value;
    return Result::Ok;
}

Result Bus::GetPaused(bool* value) const {
    if (!value) return Result::ErrInvalidParam;
    *value = paused;
    return Result::Ok;
}

float Bus::EffectiveVolume() const {
    float gain = 1.0f;
    for (const Bus* bus = this; bus; bus = bus->parent) gain *= bus->volume;
    return gain;
}

bool Bus::EffectivePaused() const {
    for (const Bus* bus = this; bus; bus = bus->parent) {
        if (bus->paused) return true;
    }
    return false;
}

// Event descriptions and banks

Result EventDescription::CreateInstance(EventInstance** instance) {
    if (!instance) return Result::ErrInvalidParam;
    runtime.instances.push_back(std::unique_ptr<EventInstance>(new EventInstance(*this)));
    *instance = runtime.instances.back().get();
    return Result::Ok;
}

Result EventDescription::ReleaseAllInstances() {
    runtime.DestroyInstancesOf(this);
    return Result::Ok;
}

Result EventDescription::GetPath(char* buffer, int size, int* retrieved) const {
    if (retrieved) *retrieved = static_cast<int>(definition.path.size()) + 1;
    if (!buffer || size <= 0) return Result::ErrInvalidParam;
    std::size_t n = std::min(definition.path.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, definition.path.data(), n);
    buffer[n] = '\0';
    return n == definition.path.size() ? Result::Ok : Result::ErrInvalidParam;
}

int EventDescription::InstanceCount() const {
    return static_cast<int>(
        std::count_if(runtime.instances.begin(), runtime.instances.end(),
                      [this](const auto& i) { return &i->description == this; }));
}

Result Bank::GetEventCount(int* count) const {
    if (!count) return Result::ErrInvalidParam;
    *count = static_cast<int>(events.size());
    return Result::Ok;
}

Result Bank::GetEventList(EventDescription** array, int capacity, int* count) const {
    if ((!array && capacity > 0) || capacity < 0) return Result::ErrInvalidParam;
    int n = std::min(capacity, static_cast<int>(events.size()));
    for (int i = 0; i < n; ++i) array[i] = events[static_cast<std::size_t>(i)].get();
    if (count) *count = n;
    return Result::Ok;
}

Result Bank::Unload() {
    for (const auto& event : events) runtime.DestroyInstancesOf(event.get());
    auto& banks = runtime.banks;
    // Erasing destroys this bank; nothing of it may be touched afterwards.
    banks.erase(std::find_if(banks.begin(), banks.end(),
                             [this](const auto& bank) { return bank.get() == this; }));
    return Result::Ok;
}

// Event instances

EventInstance::EventInstance(EventDescription& description) : description(description) {}
EventInstance::~EventInstance() = default;

Result EventInstance::Set3DAttributes(const glm::vec3& p, const glm::vec3& v) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
        return Result::ErrInvalidParam;
    }
    position = p;
    velocity = v;
    if (voice) description.runtime.ApplyMix(*this);
    return Result::Ok;
}

Result EventInstance::Start() {
    Runtime& runtime = description.runtime;
    const EventDefinition& def = description.definition;
    Stop();
    started = true;
    for (const auto& path : def.stops) {
        for (auto& other : runtime.instances) {
            if (other->description.definition.path == path && other.get() != this) other->Stop();
        }
    }
    if (def.sounds.empty()) return Result::Ok;
    std::uniform_int_distribution<std::size_t> pick(0, def.sounds.size() - 1);
    sound = def.sounds[pick(runtime.random)];
    volumeFactor = runtime.Random(def.volumeVariation);
    pitchFactor = runtime.Random(def.pitchVariation);
    if (!runtime.HasDevice()) return Result::Ok;

    voice = runtime.AcquireVoice();
    // Every voice busy: this sound is not heard, as with any voice limit.
    if (!voice) return Result::Ok;
    ALuint source = voice->source;
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source, AL_MAX_GAIN, 16.0f);
    if (def.stream) {
        SNDFILE* file = nullptr;
        if (Result r = OpenSound(sound, &file, &voice->info); r != Result::Ok) {
            runtime.ReturnVoice(std::move(voice));
            return r;
        }
        voice->file = file;
        voice->mono = def.is3D;
        voice->loop = def.loop;
        alGenBuffers(kStreamBuffers, voice->buffers.data());
        for (ALuint buffer : voice->buffers) {
            if (voice->Fill(buffer)) alSourceQueueBuffers(source, 1, &buffer);
        }
        alSourcei(source, AL_LOOPING, AL_FALSE);
    } else {
        auto it = runtime.sounds.find(sound + (def.is3D ? "|mono" : "|as is"));
        assert(it != runtime.sounds.end() && "bank loading decodes every sound of its events");
        alSourcei(source, AL_BUFFER, static_cast<ALint>(it->second.buffer));
        alSourcei(source, AL_LOOPING, def.loop ? AL_TRUE : AL_FALSE);
    }
    runtime.ApplyMix(*this);
    if (description.bus->EffectivePaused()) {
        pausedByBus = true;
    } else {
        alSourcePlay(source);
    }
    return Result::Ok;
}

Result EventInstance::Stop() {
    if (voice) description.runtime.ReturnVoice(std::move(voice));
    pausedByBus = false;
    return Result::Ok;
}

Result EventInstance::Release() {
    released = true;
    return Result::Ok;
}

Result EventInstance::GetPlaybackState(PlaybackState* state) const {
    if (!state) return Result::ErrInvalidParam;
    *state = voice ? PlaybackState::Playing : PlaybackState::Stopped;
    return Result::Ok;
}

float EventInstance::CurrentGain() const {
    const EventDefinition& def = description.definition;
    float gain = def.volume * volumeFactor * description.bus->EffectiveVolume();
    for (const auto& binding : def.bindings) {
        if (binding.volume)
            gain *= binding.volume->At(description.runtime.ParameterValue(binding.parameter));
    }
    return std::max(gain, 0.0f);
}

float EventInstance::CurrentPitch() const {
    const EventDefinition& def = description.definition;
    float pitch = def.pitch * pitchFactor;
    for (const auto& binding : def.bindings) {
        if (binding.pitch)
            pitch *= binding.pitch->At(description.runtime.ParameterValue(binding.parameter));
    }
    return std::clamp(pitch, 0.01f, kMaxPitch);
}

// The runtime

Runtime::Runtime() : lastUpdate(std::chrono::steady_clock::now()) {
    auto master = std::make_unique<Bus>();
    master->path = "bus:/";
    buses.emplace("bus:/", std::move(master));
}

Runtime::~Runtime() {
    while (!instances.empty()) DestroyInstance(instances.front().get());
    banks.clear();
    if (!device) return;
    if (!freeSources.empty()) {
        alDeleteSources(static_cast<ALsizei>(freeSources.size()), freeSources.data());
    }
    for (auto& [key, sound] : sounds) {
        if (sound.buffer) alDeleteBuffers(1, &sound.buffer);
    }
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context));
    alcCloseDevice(static_cast<ALCdevice*>(device));
}

Result Runtime::Initialize(int voices) {
    if (device) return Result::ErrInvalidParam;
    if (voices <= 0) return Result::ErrInvalidParam;
    maxVoices = voices;
    QuietenOutputProbing();
    ALCdevice* dev = alcOpenDevice(nullptr);
    if (!dev) return Result::ErrOutputInit;
    ALCcontext* ctx = alcCreateContext(dev, nullptr);
    if (!ctx || !alcMakeContextCurrent(ctx)) {
        if (ctx) alcDestroyContext(ctx);
        alcCloseDevice(dev);
        return Result::ErrOutputInit;
    }
    device = dev;
    context = ctx;
    // Silent beyond an event's maximum distance, full within its minimum.
    alDistanceModel(AL_LINEAR_DISTANCE_CLAMPED);
    // World units are not metres; a Doppler shift would be arbitrary.
    alDopplerFactor(0.0f);
    return Result::Ok;
}

Bus* Runtime::MakeBus(const std::string& path) {
    auto it = buses.find(path);
    if (it != buses.end()) return it->second.get();
    Bus* parent = MakeBus(ParentBus(path));
    auto bus = std::make_unique<Bus>();
    bus->path = path;
    bus->parent = parent;
    return buses.emplace(path, std::move(bus)).first->second.get();
}

Result Runtime::PrepareSound(const std::string& file, bool mono, bool stream) {
    std::string key = file + (stream ? "|stream" : mono ? "|mono" : "|as is");
    if (sounds.count(key)) return Result::Ok;
    SNDFILE* handle = nullptr;
    SF_INFO info;
    if (Result r = OpenSound(file, &handle, &info); r != Result::Ok) return r;
    Sound sound;
    // Streams are opened again at every start; without a device nothing needs decoding.
    if (!stream && device) {
        std::vector<short> samples(static_cast<std::size_t>(info.frames * info.channels));
        sf_count_t got = sf_readf_short(handle, samples.data(), info.frames);
        samples.resize(static_cast<std::size_t>(got * info.channels));
        int channels = info.channels;
        if (mono) {
            DownMix(samples, channels);
            channels = 1;
        }
        alGetError();
        alGenBuffers(1, &sound.buffer);
        alBufferData(sound.buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16,
                     samples.data(), static_cast<ALsizei>(samples.size() * sizeof(short)),
                     info.samplerate);
        if (alGetError() != AL_NO_ERROR) {
            sf_close(handle);
            if (sound.buffer) alDeleteBuffers(1, &sound.buffer);
            return Result::ErrFormat;
        }
    }
    sf_close(handle);
    sounds.emplace(key, sound);
    return Result::Ok;
}

Result Runtime::LoadBankFile(const std::string& file, Bank** bank) {
    if (!bank) return Result::ErrInvalidParam;
    *bank = nullptr;
    lastError.clear();
    for (const auto& loaded : banks) {
        if (loaded->file == file) {
            *bank = loaded.get();
            return Result::ErrEventAlreadyLoaded;
        }
    }
    if (!std::filesystem::is_regular_file(file)) return Result::ErrFileNotFound;
    BankFile data;
    try {
        data = ReadBankFile(file);
    } catch (const BankFormatError& e) {
        lastError = e.what();
        return Result::ErrFileBad;
    }
    // Check everything before changing anything, so that a bad bank leaves no trace.
    for (const auto& event : data.events) {
        for (const auto& binding : event.bindings) {
            if (!data.parameters.count(binding.parameter) && !parameters.count(binding.parameter)) {
                lastError = file + ": \"Events\"/\"" + event.path + "\"/\"Parameters\"/\"" +
                            binding.parameter +
                            "\": no such parameter in this bank or a loaded one";
                return Result::ErrFileBad;
            }
        }
        for (const auto& sound : event.sounds) {
            if (Result r = PrepareSound(sound, event.is3D, event.stream); r != Result::Ok) {
                lastError =
                    file + ": \"Events\"/\"" + event.path + "\"/\"Sounds\": " + sound +
                    (r == Result::ErrFileNotFound ? " does not exist"
                                                  : " is not a readable mono or stereo sound");
                return Result::ErrFileBad;
            }
        }
    }
    for (const auto& [path, volume] : data.busVolumes) {
        bool existed = buses.count(path) > 0;
        Bus* bus = MakeBus(path);
        if (!existed) bus->volume = volume;
    }
    for (const auto& [name, definition] : data.parameters) {
        if (parameters.count(name)) continue;
        parameters[name] = Parameter{definition, definition.initial, definition.initial};
    }
    auto loaded = std::unique_ptr<Bank>(new Bank(*this, file));
    for (auto& event : data.events) {
        auto description =
            std::unique_ptr<EventDescription>(new EventDescription(*this, std::move(event)));
        description->bus = MakeBus(description->definition.bus);
        loaded->events.push_back(std::move(description));
    }
    banks.push_back(std::move(loaded));
    *bank = banks.back().get();
    return Result::Ok;
}

Result Runtime::GetEvent(std::string_view path, EventDescription** description) {
    if (!description) return Result::ErrInvalidParam;
    *description = nullptr;
    for (const auto& bank : banks) {
        for (const auto& event : bank->events) {
            if (event->definition.path == path) {
                *description = event.get();
                return Result::Ok;
            }
        }
    }
    return Result::ErrEventNotFound;
}

Result Runtime::GetBus(std::string_view path, Bus** bus) {
    if (!bus) return Result::ErrInvalidParam;
    auto it = buses.find(path);
    *bus = it == buses.end() ? nullptr : it->second.get();
    return *bus ? Result::Ok : Result::ErrEventNotFound;
}

Result Runtime::SetParameterByName(std::string_view name, float value, bool ignoreSeekSpeed) {
    auto it = parameters.find(name);
    if (it == parameters.end()) return Result::ErrEventNotFound;
    if (!std::isfinite(value)) return Result::ErrInvalidParam;
    Parameter& parameter = it->second;
    parameter.target =
        std::clamp(value, parameter.definition.minimum, parameter.definition.maximum);
    if (ignoreSeekSpeed || parameter.definition.seekSpeed <= 0.0f) {
        parameter.current = parameter.target;
    }
    return Result::Ok;
}

Result Runtime::GetParameterByName(std::string_view name, float* value, float* finalValue) const {
    auto it = parameters.find(name);
    if (it == parameters.end()) return Result::ErrEventNotFound;
    if (value) *value = it->second.target;
    if (finalValue) *finalValue = it->second.current;
    return Result::Ok;
}

float Runtime::ParameterValue(const std::string& name) const {
    auto it = parameters.find(name);
    return it == parameters.end() ? 0.0f : it->second.current;
}

float Runtime::Random(float variation) {
    if (variation <= 0.0f) return 1.0f;
    return 1.0f + std::uniform_real_distribution<float>(-variation, variation)(random);
}

Result Runtime::Update() {
    auto now = std::chrono::steady_clock::now();
    // Clamped like the game's frame time, so a long load or a hitch does not jump parameters.
    float dt = std::min(std::chrono::duration<float>(now - lastUpdate).count(), kMaxStep);
    lastUpdate = now;
    for (auto& [name, parameter] : parameters) {
        float step = parameter.definition.seekSpeed * dt;
        float gap = parameter.target - parameter.current;
        parameter.current =
            std::abs(gap) <= step ? parameter.target : parameter.current + std::copysign(step, gap);
    }
    for (auto it = instances.begin(); it != instances.end();) {
        EventInstance& instance = **it;
        if (instance.voice) {
            Voice& voice = *instance.voice;
            ALint state = AL_STOPPED;
            if (voice.file) {
                ALint processed = 0;
                alGetSourcei(voice.source, AL_BUFFERS_PROCESSED, &processed);
                while (processed-- > 0) {
                    ALuint buffer = 0;
                    alSourceUnqueueBuffers(voice.source, 1, &buffer);
                    if (voice.Fill(buffer)) alSourceQueueBuffers(voice.source, 1, &buffer);
                }
            }
            ApplyMix(instance);
            alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
            if (state == AL_STOPPED) {
                ALint queued = 0;
                if (voice.file) alGetSourcei(voice.source, AL_BUFFERS_QUEUED, &queued);
                // A stream that ran dry through a long frame picks up where it was.
                if (queued > 0) {
                    alSourcePlay(voice.source);
                } else {
                    instance.Stop();
                }
            }
        }
        if (instance.released && !instance.voice) {
            it = instances.erase(it);
        } else {
            ++it;
        }
    }
    return Result::Ok;
}

void Runtime::ApplyMix(EventInstance& instance) {
    if (!instance.voice) return;
    const EventDefinition& def = instance.description.definition;
    ALuint source = instance.voice->source;
    alSourcef(source, AL_GAIN, instance.CurrentGain());
    alSourcef(source, AL_PITCH, instance.CurrentPitch());
    if (def.is3D) {
        // The listener sits "Min Distance" in front of the plane of play, so nearby sounds
        // pan gently and only distant ones pan hard; attenuation runs to "Max Distance"
        // measured in that plane.
        const glm::vec3& p = instance.position;
        alSource3f(source, AL_POSITION, p.x, p.y, -p.z - def.minDistance);
        alSourcef(source, AL_REFERENCE_DISTANCE, def.minDistance);
        alSourcef(source, AL_MAX_DISTANCE,
                  std::sqrt(def.maxDistance * def.maxDistance + def.minDistance * def.minDistance));
        alSourcef(source, AL_ROLLOFF_FACTOR, 1.0f);
    } else {
        alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    }
    bool paused = instance.description.bus->EffectivePaused();
    if (paused && !instance.pausedByBus) {
        alSourcePause(source);
        instance.pausedByBus = true;
    } else if (!paused && instance.pausedByBus) {
        alSourcePlay(source);
        instance.pausedByBus = false;
    }
}

std::unique_ptr<Voice> Runtime::AcquireVoice() {
    auto voice = std::make_unique<Voice>();
    if (!freeSources.empty()) {
        voice->source = freeSources.back();
        freeSources.pop_back();
        return voice;
    }
    if (voicesMade >= maxVoices) return nullptr;
    alGetError();
    alGenSources(1, &voice->source);
    if (alGetError() != AL_NO_ERROR) return nullptr;
    ++voicesMade;
    return voice;
}

void Runtime::ReturnVoice(std::unique_ptr<Voice> voice) {
    alSourceStop(voice->source);
    alSourcei(voice->source, AL_BUFFER, 0);
    if (voice->file) {
        sf_close(voice->file);
        alDeleteBuffers(kStreamBuffers, voice->buffers.data());
    }
    freeSources.push_back(voice->source);
}

void Runtime::DestroyInstance(EventInstance* instance) {
    instance->Stop();
    instances.remove_if([instance](const auto& i) { return i.get() == instance; });
}

void Runtime::DestroyInstancesOf(const EventDescription* description) {
    for (auto it = instances.begin(); it != instances.end();) {
        if (&(*it)->description == description) {
            (*it)->Stop();
            it = instances.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace audio
