#include "audio/AudioVoice.h"

#include <AL/al.h>

namespace audio {

namespace {
// A quarter of a second of 44.1 kHz sound per stream buffer.
constexpr long kStreamChunkFrames = 11025;
}  // namespace

Voice::~Voice() {
    if (source) Release();
}

void Voice::LoadBuffer(unsigned buffer, bool looping) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source, AL_MAX_GAIN, 16.0f);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
}

Result Voice::LoadStream(const std::string& path, bool downMix, bool looping) {
    if (Result r = SoundFile::Open(path, &stream); r != Result::Ok) return r;
    mono = downMix;
    loop = looping;
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source, AL_MAX_GAIN, 16.0f);
    alGenBuffers(kStreamBuffers, buffers.data());
    for (ALuint buffer : buffers) {
        if (FillNext(buffer)) alSourceQueueBuffers(source, 1, &buffer);
    }
    // The stream loops by rewinding the file; the source only plays what is queued.
    alSourcei(source, AL_LOOPING, AL_FALSE);
    return Result::Ok;
}

bool Voice::FillNext(unsigned buffer) {
    stream->Read(kStreamChunkFrames, loop, mono, scratch);
    if (scratch.samples.empty()) return false;
    UploadPcm(buffer, scratch);
    return true;
}

void Voice::Apply(float gain, float pitch, const Placement& placement) {
    alSourcef(source, AL_GAIN, gain);
    alSourcef(source, AL_PITCH, pitch);
    alSource3f(source, AL_POSITION, placement.position.x, placement.position.y,
               placement.position.z);
    if (placement.rolloff > 0.0f) {
        alSourcef(source, AL_REFERENCE_DISTANCE, placement.referenceDistance);
        alSourcef(source, AL_MAX_DISTANCE, placement.maxDistance);
    }
    alSourcef(source, AL_ROLLOFF_FACTOR, placement.rolloff);
}

void Voice::SetPaused(bool pause) {
    if (pause == paused) return;
    paused = pause;
    if (paused) {
        alSourcePause(source);
    } else {
        alSourcePlay(source);
    }
}

void Voice::Refill() {
    if (!stream) return;
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        if (FillNext(buffer)) alSourceQueueBuffers(source, 1, &buffer);
    }
}

bool Voice::Finished() {
    if (paused) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state != AL_STOPPED) return false;
    ALint queued = 0;
    if (stream) alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    if (queued == 0) return true;
    alSourcePlay(source);
    return false;
}

unsigned Voice::Release() {
    unsigned released = source;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    if (stream) {
        stream.reset();
        alDeleteBuffers(kStreamBuffers, buffers.data());
    }
    source = 0;
    return released;
}

VoicePool::~VoicePool() {
    if (!free.empty()) alDeleteSources(static_cast<ALsizei>(free.size()), free.data());
}

std::unique_ptr<Voice> VoicePool::Acquire() {
    if (!free.empty()) {
        auto voice = std::make_unique<Voice>(free.back());
        free.pop_back();
        return voice;
    }
    if (made >= limit) return nullptr;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) return nullptr;
    ++made;
    return std::make_unique<Voice>(source);
}

void VoicePool::Return(std::unique_ptr<Voice> voice) {
    free.push_back(voice->Release());
}

}  // namespace audio
