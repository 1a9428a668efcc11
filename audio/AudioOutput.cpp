#include "audio/AudioOutput.h"
#include "audio/OutputProbing.h"

#include <AL/al.h>
#include <AL/alc.h>
#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>

#include <cmath>
#include <cstdlib>

namespace audio {

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
