#include "audio/OutputProbing.h"

#include <cstdlib>

#ifdef _WIN32

namespace audio {

void QuietenOutputProbing() {
    // Windows' sound interfaces print nothing of their own: only OpenAL's log is hushed.
    if (!std::getenv("ALSOFT_LOGLEVEL")) _putenv_s("ALSOFT_LOGLEVEL", "0");
}

}  // namespace audio

#else
#include <dlfcn.h>

namespace audio {

namespace {
void IgnoreAlsaComplaint(const char*, int, const char*, int, const char*, ...) {}
}  // namespace

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

}  // namespace audio

#endif
