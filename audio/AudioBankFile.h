#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <glm/vec2.hpp>

#include "engine/DataError.h"

// What a bank file says, before any sound is decoded. Private to the runtime.
namespace audio {

/// Piecewise linear, clamped at both ends; points sorted by x.
struct Curve {
    std::vector<glm::vec2> points;
    float At(float x) const;
};

struct ParameterBinding {
    std::string parameter;
    std::optional<Curve> volume;
    std::optional<Curve> pitch;
};

struct EventDefinition {
    std::string path;
    /// Full file paths, already joined to the bank's folder.
    std::vector<std::string> sounds;
    float volume = 1.0f;
    float volumeVariation = 0.0f;
    float pitch = 1.0f;
    float pitchVariation = 0.0f;
    bool loop = false;
    bool stream = false;
    bool is3D = false;
    float minDistance = 1.0f;
    float maxDistance = 100.0f;
    std::string bus = "bus:/";
    std::vector<std::string> stops;
    std::vector<ParameterBinding> bindings;
};

struct ParameterDefinition {
    float minimum = 0.0f;
    float maximum = 1.0f;
    float initial = 0.0f;
    /// Units per second towards a new target; 0 jumps at once.
    float seekSpeed = 0.0f;
};

struct BankFile {
    std::map<std::string, float> busVolumes;
    std::map<std::string, ParameterDefinition> parameters;
    /// In path order.
    std::vector<EventDefinition> events;
};

/// A bank that exists but cannot be used; the text names the file and the key.
class BankFormatError : public DataError {
public:
    using DataError::DataError;
};

/// Reads and checks a bank. Throws BankFormatError; a missing file is the caller's check.
BankFile ReadBankFile(const std::string& file);

}  // namespace audio
