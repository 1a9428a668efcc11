#pragma once

#include <functional>
#include <vector>

#include "audio/AudioResult.h"

namespace audio {

/// Where the mix goes instead of a sound card: a run renders exactly as much sound as its
/// frames say, so the same frames always make the same sound (tests, recordings).
struct RenderTarget {
    int rate = 44100;
    /// Receives `count` interleaved stereo frames (left, right) in -1..1, in order.
    std::function<void(const float* frames, int count)> write;
};

/// The OpenAL device and context the runtime mixes on: the default output device, mixing in
/// real time on its own, or a rendering device that mixes only when asked.
class Output {
public:
    Output() = default;
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    /// ErrOutputInit when the machine has no usable output device.
    Result OpenDevice();
    /// ErrInvalidParam without a writer or with a rate of 0 or less; ErrOutputInit when
    /// OpenAL cannot render in that format.
    Result OpenRendering(RenderTarget target);
    bool IsOpen() const { return device != nullptr; }
    /// Makes this output's context the one OpenAL calls go to, as it must be while the
    /// runtime tears down its sources and buffers; the context current before comes back
    /// when the output closes.
    void MakeCurrent();
    bool IsRendering() const { return static_cast<bool>(target.write); }

    /// Rendering only: how many frames `seconds` more of sound make. Fractions of a frame
    /// carry over, so that many short steps add up to the same sound as one long one.
    int FramesFor(double seconds);
    /// Rendering only: mixes `frames` frames and hands them to the target.
    void Render(int frames);

private:
    Result Attach(void* device);

    void* device = nullptr;
    void* context = nullptr;
    void* previous = nullptr;
    RenderTarget target;
    double owed = 0.0;
    std::vector<float> scratch;
};

}  // namespace audio
