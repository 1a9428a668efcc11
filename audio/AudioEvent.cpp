#include "audio/AudioEvent.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/AudioMixRules.h"
#include "audio/AudioRuntime.h"
#include "audio/AudioVoice.h"

namespace audio {

Result EventDescription::CreateInstance(EventInstance** instance) {
    if (!instance) return Result::ErrInvalidParam;
    *instance = &runtime.NewInstance(*this);
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
    return runtime.CountInstancesOf(this);
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
    // Destroys this bank; nothing of it may be touched afterwards.
    runtime.UnloadBank(this);
    return Result::Ok;
}

EventInstance::EventInstance(EventDescription& description) : description(description) {}
EventInstance::~EventInstance() = default;

Result EventInstance::Set3DAttributes(const glm::vec3& p, const glm::vec3& v) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
        return Result::ErrInvalidParam;
    }
    position = p;
    velocity = v;
    description.runtime.ApplyMix(*this);
    return Result::Ok;
}

Result EventInstance::Start() {
    return description.runtime.StartInstance(*this);
}

Result EventInstance::Stop() {
    description.runtime.StopInstance(*this);
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
    return EventGain(description.definition, volumeFactor, description.bus,
                     description.runtime.parameters);
}

float EventInstance::CurrentPitch() const {
    return EventPitch(description.definition, pitchFactor, description.runtime.parameters);
}

}  // namespace audio
