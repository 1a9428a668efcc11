#include "audio/AudioResult.h"

#include <array>

namespace audio {

namespace {
// Indexed by the enumerator's value; keep in the enumeration's order.
constexpr std::array<std::string_view, 9> kNames = {
    "FMOD_OK",
    "FMOD_ERR_FILE_NOTFOUND",
    "FMOD_ERR_FILE_BAD",
    "FMOD_ERR_FORMAT",
    "FMOD_ERR_EVENT_NOTFOUND",
    "FMOD_ERR_EVENT_ALREADY_LOADED",
    "FMOD_ERR_INVALID_PARAM",
    "FMOD_ERR_INVALID_HANDLE",
    "FMOD_ERR_OUTPUT_INIT",
};
static_assert(kNames.size() == static_cast<std::size_t>(Result::ErrOutputInit) + 1);
}  // namespace

std::string_view ResultName(Result result) {
    auto index = static_cast<std::size_t>(result);
    return index < kNames.size() ? kNames[index] : std::string_view("FMOD_ERR_UNKNOWN");
}

}  // namespace audio
