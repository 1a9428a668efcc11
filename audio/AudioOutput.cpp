#include "audio/AudioOutput.h"

#include <AL/al.h>
#include <AL/alc.h>
#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdlib>

namespace audio {

namespace {
void IgnoreAlsaComplaint(const char*, int, const char*, int, const char*, ...) {}

// A machine without a sound card makes the output libraries complain on standard error while
// OpenAL probes them; the runtime reports that case itself, in one line, so they are hushed.
// An explicit ALSOFT_LOGLEVEL still wins.
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
}  // namespace

Output::~Output() {
    if (!device) return;
    MakeCurrent();
    // Another runtime's context, if one was current, stays current for it.
    alcMakeContextCurrent(static_cast<ALCcontext*>(previous));
    alcDestroyContext(static_cast<ALCcontext*>(context));
    alcCloseDevice(static_cast<ALCdevice*>(device));
}

void Output::MakeCurrent() {
    ALCcontext* current = alcGetCurrentContext();
    if (!context || current == context) return;
    previous = current;
    alcMakeContextCurrent(static_cast<ALCcontext*>(context));
}

Result Output::OpenDevice() {
    if (device) return Result::ErrInvalidParam;
    QuietenOutputProbing();
    ALCdevice* opened = alcOpenDevice(nullptr);
    if (!opened) return Result::ErrOutputInit;
    return Attach(opened);
}

Result Output::OpenRendering(RenderTarget render) {
    if (device || !render.write || render.rate <= 0) return Result::ErrInvalidParam;
    QuietenOutputProbing();
    ALCdevice* opened = alcLoopbackOpenDeviceSOFT(nullptr);
    if (!opened) return Result::ErrOutputInit;
    if (!alcIsRenderFormatSupportedSOFT(opened, render.rate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT)) {
        alcCloseDevice(opened);
        return Result::ErrOutputInit;
    }
    target = std::move(render);
    if (Result r = Attach(opened); r != Result::Ok) {
        target = RenderTarget{};
        return r;
    }
    return Result::Ok;
}

Result Output::Attach(void* opened) {
    auto* dev = static_cast<ALCdevice*>(opened);
    // A rendering device takes its format here; a real one ignores what it does not know.
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 target.rate,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 0};
    ALCcontext* ctx = alcCreateContext(dev, IsRendering() ? attributes : nullptr);
    if (!ctx || !alcMakeContextCurrent(ctx)) {
        if (ctx) alcDestroyContext(ctx);
        alcCloseDevice(dev);
        return Result::ErrOutputInit;
    }
    device = dev;
    context = ctx;
    // Silent beyond an event's maximum distance, full within its minimum.
    alDistanceModel(AL_LINEAR_DISTANCE_CLAMPED);
    // World units are not metres; a Doppler shift would be arbitrary.
    alDopplerFactor(0.0f);
    return Result::Ok;
}

int Output::FramesFor(double seconds) {
    if (!IsRendering() || !(seconds > 0.0)) return 0;
    owed += seconds * target.rate;
    double whole = std::floor(owed);
    owed -= whole;
    return static_cast<int>(whole);
}

void Output::Render(int frames) {
    if (!IsRendering() || frames <= 0) return;
    scratch.resize(static_cast<std::size_t>(frames) * 2);
    alcRenderSamplesSOFT(static_cast<ALCdevice*>(device), scratch.data(), frames);
    target.write(scratch.data(), frames);
}

}  // namespace audio
