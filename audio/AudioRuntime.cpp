#include "audio/AudioRuntime.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <filesystem>

#include "audio/AudioMixRules.h"

namespace audio {

namespace {
// Streams are refilled between slices this long, so that one long step never lets them run
// dry; 1024 frames is 23 ms at 44.1 kHz, far less than a stream holds even at full pitch.
constexpr int kRenderSlice = 1024;
}  // namespace

Runtime::Runtime() = default;

Runtime::~Runtime() {
    output.MakeCurrent();
    for (auto& instance : instances) StopInstance(*instance);
    instances.clear();
    banks.clear();
}

Result Runtime::Initialize(int maxVoices) {
    if (HasDevice() || maxVoices <= 0) return Result::ErrInvalidParam;
    return Opened(output.OpenDevice(), maxVoices);
}

Result Runtime::Initialize(int maxVoices, RenderTarget target) {
    if (HasDevice() || maxVoices <= 0) return Result::ErrInvalidParam;
    return Opened(output.OpenRendering(std::move(target)), maxVoices);
}

Result Runtime::Opened(Result result, int maxVoices) {
    if (result == Result::Ok) voices.SetLimit(maxVoices);
    return result;
}

Result Runtime::CheckBank(const std::string& file, const BankFile& data) {
    for (const auto& event : data.events) {
        for (const auto& binding : event.bindings) {
            if (!data.parameters.count(binding.parameter) &&
                !parameters.Contains(binding.parameter)) {
                lastError = file + ": \"Events\"/\"" + event.path + "\"/\"Parameters\"/\"" +
                            binding.parameter +
                            "\": no such parameter in this bank or a loaded one";
                return Result::ErrFileBad;
            }
        }
        for (const auto& sound : event.sounds) {
            Result r = sounds.Prepare(sound, event.is3D, event.stream, HasDevice());
            if (r != Result::Ok) {
                lastError =
                    file + ": \"Events\"/\"" + event.path + "\"/\"Sounds\": " + sound +
                    (r == Result::ErrFileNotFound ? " does not exist"
                                                  : " is not a readable mono or stereo sound");
                return Result::ErrFileBad;
            }
        }
    }
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
    // Everything is checked before anything changes, so that a bad bank leaves no trace.
    if (Result r = CheckBank(file, data); r != Result::Ok) return r;
    for (const auto& [path, volume] : data.busVolumes) {
        // The first bank to declare a bus sets its volume.
        if (!buses.Find(path)) buses.Make(path).SetVolume(volume);
    }
    for (const auto& [name, definition] : data.parameters) parameters.Declare(name, definition);
    auto loaded = std::unique_ptr<Bank>(new Bank(*this, file));
    for (auto& event : data.events) {
        const Bus& bus = buses.Make(event.bus);
        loaded->events.push_back(
            std::unique_ptr<EventDescription>(new EventDescription(*this, std::move(event), bus)));
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
            if (event->Path() == path) {
                *description = event.get();
                return Result::Ok;
            }
        }
    }
    return Result::ErrEventNotFound;
}

Result Runtime::GetBus(std::string_view path, Bus** bus) {
    if (!bus) return Result::ErrInvalidParam;
    *bus = buses.Find(path);
    return *bus ? Result::Ok : Result::ErrEventNotFound;
}

Result Runtime::SetParameterByName(std::string_view name, float value, bool ignoreSeekSpeed) {
    return parameters.Set(name, value, ignoreSeekSpeed);
}

Result Runtime::GetParameterByName(std::string_view name, float* value, float* finalValue) const {
    return parameters.Get(name, value, finalValue);
}

Result Runtime::Update(float dt) {
    if (!std::isfinite(dt) || dt < 0.0f) return Result::ErrInvalidParam;
    parameters.Seek(dt);
    for (auto& instance : instances) {
        if (!instance->voice) continue;
        instance->voice->Refill();
        ApplyMix(*instance);
    }
    for (int frames = output.FramesFor(dt); frames > 0; frames -= kRenderSlice) {
        output.Render(std::min(frames, kRenderSlice));
        for (auto& instance : instances) {
            if (instance->voice) instance->voice->Refill();
        }
    }
    for (auto it = instances.begin(); it != instances.end();) {
        EventInstance& instance = **it;
        if (instance.voice && instance.voice->Finished()) StopInstance(instance);
        if (instance.released && !instance.voice) {
            it = instances.erase(it);
        } else {
            ++it;
        }
    }
    return Result::Ok;
}

EventInstance& Runtime::NewInstance(EventDescription& description) {
    instances.push_back(std::unique_ptr<EventInstance>(new EventInstance(description)));
    return *instances.back();
}

Result Runtime::StartInstance(EventInstance& instance) {
    const EventDefinition& def = instance.description.Definition();
    StopInstance(instance);
    for (const auto& path : def.stops) {
        for (auto& other : instances) {
            if (other.get() != &instance && other->description.Path() == path) {
                StopInstance(*other);
            }
        }
    }
    if (def.sounds.empty()) return Result::Ok;
    std::uniform_int_distribution<std::size_t> pick(0, def.sounds.size() - 1);
    instance.sound = def.sounds[pick(random)];
    instance.volumeFactor = VariationFactor(def.volumeVariation, random);
    instance.pitchFactor = VariationFactor(def.pitchVariation, random);
    if (!HasDevice()) return Result::Ok;

    std::unique_ptr<Voice> voice = voices.Acquire();
    // Every voice busy: this sound is not heard, as with any voice limit.
    if (!voice) return Result::Ok;
    if (def.stream) {
        if (Result r = voice->LoadStream(instance.sound, def.is3D, def.loop); r != Result::Ok) {
            voices.Return(std::move(voice));
            return r;
        }
    } else {
        unsigned buffer = sounds.Buffer(instance.sound, def.is3D);
        assert(buffer && "bank loading decodes every sound of its events");
        voice->LoadBuffer(buffer, def.loop);
    }
    instance.voice = std::move(voice);
    ApplyMix(instance);
    return Result::Ok;
}

void Runtime::StopInstance(EventInstance& instance) {
    if (instance.voice) voices.Return(std::move(instance.voice));
}

void Runtime::ApplyMix(EventInstance& instance) {
    if (!instance.voice) return;
    instance.voice->Apply(instance.CurrentGain(), instance.CurrentPitch(),
                          PlaceEvent(instance.description.Definition(), instance.position));
    instance.voice->SetPaused(instance.description.PlaysOn().EffectivePaused());
}

void Runtime::DestroyInstancesOf(const EventDescription* description) {
    for (auto it = instances.begin(); it != instances.end();) {
        if (&(*it)->description == description) {
            StopInstance(**it);
            it = instances.erase(it);
        } else {
            ++it;
        }
    }
}

void Runtime::UnloadBank(const Bank* bank) {
    for (const auto& event : bank->events) DestroyInstancesOf(event.get());
    banks.erase(std::find_if(banks.begin(), banks.end(),
                             [bank](const auto& loaded) { return loaded.get() == bank; }));
}

int Runtime::CountInstancesOf(const EventDescription* description) const {
    return static_cast<int>(
        std::count_if(instances.begin(), instances.end(),
                      [description](const auto& i) { return &i->description == description; }));
}

}  // namespace audio
