#include "audio/AudioParameters.h"

#include <algorithm>
#include <cmath>

namespace audio {

void ParameterTable::Declare(const std::string& name, const ParameterDefinition& definition) {
    parameters.try_emplace(name, Parameter{definition, definition.initial, definition.initial});
}

Result ParameterTable::Set(std::string_view name, float value, bool ignoreSeekSpeed) {
    auto it = parameters.find(name);
    if (it == parameters.end()) return Result::ErrEventNotFound;
    if (!std::isfinite(value)) return Result::ErrInvalidParam;
    Parameter& parameter = it->second;
    parameter.target =
        std::clamp(value, parameter.definition.minimum, parameter.definition.maximum);
    if (ignoreSeekSpeed || parameter.definition.seekSpeed <= 0.0f) {
        parameter.heard = parameter.target;
    }
    return Result::Ok;
}

Result ParameterTable::Get(std::string_view name, float* value, float* heard) const {
    auto it = parameters.find(name);
    if (it == parameters.end()) return Result::ErrEventNotFound;
    if (value) *value = it->second.target;
    if (heard) *heard = it->second.heard;
    return Result::Ok;
}

float ParameterTable::Heard(std::string_view name) const {
    auto it = parameters.find(name);
    return it == parameters.end() ? 0.0f : it->second.heard;
}

void ParameterTable::Seek(float dt) {
    for (auto& [name, parameter] : parameters) {
        float step = parameter.definition.seekSpeed * dt;
        float gap = parameter.target - parameter.heard;
        parameter.heard =
            std::abs(gap) <= step ? parameter.target : parameter.heard + std::copysign(step, gap);
    }
}

}  // namespace audio
