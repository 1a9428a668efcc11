#pragma once

#include <random>

#include <glm/vec3.hpp>

#include "audio/AudioBankFile.h"
#include "audio/AudioBus.h"
#include "audio/AudioParameters.h"

// How loud, how fast and where an event instance is heard: plain arithmetic on the bank's
// definitions, kept apart from the mixer so that it can be checked without a device.
namespace audio {

/// Pitch never goes beyond this speed-up, whatever the curves say.
constexpr float kMaxPitch = 8.0f;
constexpr float kMinPitch = 0.01f;

/// A random factor in 1 ± `variation`; exactly 1 without variation (and no draw is made).
float VariationFactor(float variation, std::mt19937& random);

/// The event's volume × its variation factor × the bus chain × every volume curve at its
/// parameter's heard value; never negative.
float EventGain(const EventDefinition& event, float volumeFactor, const Bus& bus,
                const ParameterTable& parameters);

/// The event's pitch × its variation factor × every pitch curve, within kMinPitch..kMaxPitch.
float EventPitch(const EventDefinition& event, float pitchFactor, const ParameterTable& parameters);

/// Where the mixer puts a source, listener at the origin looking down -z.
struct Placement {
    glm::vec3 position{0.0f};
    /// Full level within this distance.
    float referenceDistance = 1.0f;
    /// Silent beyond this distance.
    float maxDistance = 0.0f;
    /// 0: no attenuation at all (2D events).
    float rolloff = 0.0f;
};

/// A 2D event sits on the listener. A 3D event sits at `relative` (its position relative to
/// the listener), pushed "Min Distance" back from the listener so that nearby sounds pan
/// gently and only distant ones pan hard; it fades linearly out to "Max Distance" measured in
/// the plane of play.
Placement PlaceEvent(const EventDefinition& event, const glm::vec3& relative);

}  // namespace audio
