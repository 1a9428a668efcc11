#include "audio/AudioMixRules.h"

#include <algorithm>
#include <cmath>

namespace audio {

float VariationFactor(float variation, std::mt19937& random) {
    if (variation <= 0.0f) return 1.0f;
    return 1.0f + std::uniform_real_distribution<float>(-variation, variation)(random);
}

float EventGain(const EventDefinition& event, float volumeFactor, const Bus& bus,
                const ParameterTable& parameters) {
    float gain = event.volume * volumeFactor * bus.EffectiveVolume();
    for (const auto& binding : event.bindings) {
        if (binding.volume) gain *= binding.volume->At(parameters.Heard(binding.parameter));
    }
    return std::max(gain, 0.0f);
}

float EventPitch(const EventDefinition& event, float pitchFactor,
                 const ParameterTable& parameters) {
    float pitch = event.pitch * pitchFactor;
    for (const auto& binding : event.bindings) {
        if (binding.pitch) pitch *= binding.pitch->At(parameters.Heard(binding.parameter));
    }
    return std::clamp(pitch, kMinPitch, kMaxPitch);
}

Placement PlaceEvent(const EventDefinition& event, const glm::vec3& relative) {
    Placement placement;
    if (!event.is3D) return placement;
    placement.position = glm::vec3(relative.x, relative.y, -relative.z - event.minDistance);
    placement.referenceDistance = event.minDistance;
    // The listener stands "Min Distance" off the plane, so the plane's "Max Distance" lies
    // this far from it.
    placement.maxDistance =
        std::sqrt(event.maxDistance * event.maxDistance + event.minDistance * event.minDistance);
    placement.rolloff = 1.0f;
    return placement;
}

}  // namespace audio
