#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioMixRules.h"
#include "audio/AudioResult.h"
#include "audio/AudioSoundCache.h"

// What plays one event instance on the device. Private to the runtime.
namespace audio {

/// One OpenAL source playing either a decoded buffer or a stream decoded as it plays.
class Voice {
public:
    explicit Voice(unsigned source) : source(source) {}
    ~Voice();
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    /// Sets the source up for `buffer`, not yet playing.
    void LoadBuffer(unsigned buffer, bool loop);
    /// Opens `path` and queues its first chunks, not yet playing.
    Result LoadStream(const std::string& path, bool mono, bool loop);

    void Apply(float gain, float pitch, const Placement& placement);
    /// Pauses or resumes with the bus; a voice paused before it ever played starts on resume.
    void SetPaused(bool paused);
    bool Paused() const { return paused; }

    /// Refills a stream's played buffers. Cheap when nothing has been played since.
    void Refill();
    /// True once the sound has played to its end. A stream that ran dry through a long frame
    /// picks up where it was instead.
    bool Finished();

    /// Stops and hands the source back; the voice is spent afterwards.
    unsigned Release();

private:
    // Four chunks keep a stream fed through a slow frame or two.
    static constexpr int kStreamBuffers = 4;

    bool FillNext(unsigned buffer);

    unsigned source;
    bool paused = true;
    // Streaming only: the open file and the buffers that circulate through the source.
    std::unique_ptr<SoundFile> stream;
    std::array<unsigned, kStreamBuffers> buffers{};
    bool mono = false;
    bool loop = false;
    Pcm scratch;
};

/// The device's sources, made as they are first needed and reused, up to a limit.
class VoicePool {
public:
    explicit VoicePool(int limit = 0) : limit(limit) {}
    ~VoicePool();
    VoicePool(const VoicePool&) = delete;
    VoicePool& operator=(const VoicePool&) = delete;

    void SetLimit(int voices) { limit = voices; }
    /// A voice on a free source; null when every source is busy.
    std::unique_ptr<Voice> Acquire();
    void Return(std::unique_ptr<Voice> voice);

private:
    int limit;
    int made = 0;
    std::vector<unsigned> free;
};

}  // namespace audio
