#pragma once

#include <map>
#include <string>
#include <string_view>

#include "audio/AudioBankFile.h"
#include "audio/AudioResult.h"

namespace audio {

/// The global parameters of the loaded banks. A new value is a target that the heard value
/// follows at the parameter's seek speed as time is stepped.
class ParameterTable {
public:
    /// The first declaration of a name fixes its definition; later ones are ignored.
    void Declare(const std::string& name, const ParameterDefinition& definition);
    bool Contains(std::string_view name) const { return parameters.find(name) != parameters.end(); }

    /// Clamps `value` into the parameter's range and makes it the target; without a seek
    /// speed, or when told to ignore it, the heard value jumps there at once.
    Result Set(std::string_view name, float value, bool ignoreSeekSpeed);
    /// `value` is the target last set, `heard` where seeking has got to.
    Result Get(std::string_view name, float* value, float* heard) const;
    /// The heard value; 0 for a name no bank declares.
    float Heard(std::string_view name) const;

    /// Moves every heard value towards its target by seek speed × `dt` seconds.
    void Seek(float dt);

private:
    struct Parameter {
        ParameterDefinition definition;
        float target = 0.0f;
        float heard = 0.0f;
    };
    std::map<std::string, Parameter, std::less<>> parameters;
};

}  // namespace audio
