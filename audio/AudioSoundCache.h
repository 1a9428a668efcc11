#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioResult.h"
#include "engine/FileStamp.h"

// Decoding sound files with libsndfile, whole or chunk by chunk, and the decoded sounds a
// device holds. Private to the runtime.
namespace audio {

/// 16-bit samples, interleaved when stereo.
struct Pcm {
    std::vector<short> samples;
    int channels = 1;
    int rate = 0;
};

/// A sound file open for reading. Only mono and stereo files open.
class SoundFile {
public:
    /// ErrFileNotFound when there is no such file, ErrFormat when it is no usable sound.
    static Result Open(const std::string& path, std::unique_ptr<SoundFile>* file);
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    /// Decodes up to `frames` frames into `pcm`, from the start again at the end when
    /// `loop` is set; stereo is mixed down when `mono` is. Empty at the end of the file.
    void Read(long frames, bool loop, bool mono, Pcm& pcm);
    /// Decodes the whole file.
    Pcm ReadAll(bool mono);

private:
    explicit SoundFile(void* handle, int channels, int rate, long frames)
        : handle(handle), channels(channels), rate(rate), frames(frames) {}
    void* handle;
    int channels;
    int rate;
    long frames;
};

/// Mixes interleaved stereo down to mono in place; a placed sound must be mono to be panned.
void DownMix(Pcm& pcm);

/// Hands `pcm` to the OpenAL buffer `buffer`; false when the device refuses it.
bool UploadPcm(unsigned buffer, const Pcm& pcm);

/// The sounds that banks name, checked when a bank loads and decoded once into device
/// buffers (with a device only). A sound is kept per channel layout, as a placed event needs
/// it mono; a streamed sound is only checked, as it is decoded while it plays.
class SoundCache {
public:
    ~SoundCache();

    /// Checks the file and, when `upload` is set and the sound is not streamed, decodes it
    /// into a buffer of the current device.
    Result Prepare(const std::string& path, bool mono, bool stream, bool upload);
    /// The device buffer of a prepared, uploaded, not streamed sound; 0 if there is none.
    unsigned Buffer(const std::string& path, bool mono) const;
    int Count() const { return static_cast<int>(sounds.size()); }
    /// Re-reads every prepared sound whose file changed since it was read: decoded sounds
    /// get a new buffer that instances started from now on play; a streamed one is only
    /// checked again. A file that no longer reads keeps the old sound and is added to
    /// `failed`. Returns the number of sounds re-read.
    int ReloadChanged(std::vector<std::string>& failed);

private:
    struct Entry {
        std::string path;
        bool mono = false;
        bool stream = false;
        unsigned buffer = 0;  // 0 when none was made
        FileStamp stamp;
    };

    static std::string Key(const std::string& path, bool mono, bool stream);
    /// Frees replaced buffers that no source holds any more.
    void FreeRetired();
    std::map<std::string, Entry> sounds;
    /// Replaced buffers a voice still held when they were replaced.
    std::vector<unsigned> retired;
};

}  // namespace audio
