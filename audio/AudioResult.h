#pragma once

#include <string_view>

namespace audio {

/// What every call of the sound runtime reports. Failures never throw: the caller decides.
enum class Result {
    Ok,
    ErrFileNotFound,
    ErrFileBad,
    ErrFormat,
    ErrEventNotFound,
    ErrEventAlreadyLoaded,
    ErrInvalidParam,
    ErrInvalidHandle,
    ErrOutputInit,
};

/// The printed name of a result. The names are the ones the studio's log readers already
/// match on, so they keep their established spelling.
std::string_view ResultName(Result result);

}  // namespace audio
