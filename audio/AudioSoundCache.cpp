#include "audio/AudioSoundCache.h"

#include <AL/al.h>
#include <sndfile.h>

#include <filesystem>

namespace audio {

Result SoundFile::Open(const std::string& path, std::unique_ptr<SoundFile>* file) {
    SF_INFO info{};
    SNDFILE* handle = sf_open(path.c_str(), SFM_READ, &info);
    if (!handle) {
        return std::filesystem::exists(path) ? Result::ErrFormat : Result::ErrFileNotFound;
    }
    if (info.channels < 1 || info.channels > 2 || info.samplerate <= 0) {
        sf_close(handle);
        return Result::ErrFormat;
    }
    file->reset(new SoundFile(handle, info.channels, info.samplerate, info.frames));
    return Result::Ok;
}

SoundFile::~SoundFile() {
    sf_close(static_cast<SNDFILE*>(handle));
}

void SoundFile::Read(long wanted, bool loop, bool mono, Pcm& pcm) {
    auto* sound = static_cast<SNDFILE*>(handle);
    pcm.channels = channels;
    pcm.rate = rate;
    pcm.samples.resize(static_cast<std::size_t>(wanted * channels));
    sf_count_t got = 0;
    bool rewound = false;
    while (got < wanted) {
        sf_count_t read = sf_readf_short(sound, pcm.samples.data() + got * channels, wanted - got);
        got += read;
        if (read > 0) {
            rewound = false;
            continue;
        }
        // Nothing even straight after a rewind: an empty file, so stop trying.
        if (!loop || rewound || sf_seek(sound, 0, SEEK_SET) < 0) break;
        rewound = true;
    }
    pcm.samples.resize(static_cast<std::size_t>(got * channels));
    if (mono) DownMix(pcm);
}

Pcm SoundFile::ReadAll(bool mono) {
    Pcm pcm;
    Read(frames, false, mono, pcm);
    return pcm;
}

void DownMix(Pcm& pcm) {
    if (pcm.channels != 2) return;
    std::size_t frames = pcm.samples.size() / 2;
    for (std::size_t i = 0; i < frames; ++i) {
        pcm.samples[i] = static_cast<short>((pcm.samples[2 * i] + pcm.samples[2 * i + 1]) / 2);
    }
    pcm.samples.resize(frames);
    pcm.channels = 1;
}

bool UploadPcm(unsigned buffer, const Pcm& pcm) {
    alGetError();
    alBufferData(buffer, pcm.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16,
                 pcm.samples.data(), static_cast<ALsizei>(pcm.samples.size() * sizeof(short)),
                 pcm.rate);
    return alGetError() == AL_NO_ERROR;
}

SoundCache::~SoundCache() {
    for (auto& [key, entry] : sounds) {
        if (entry.buffer) alDeleteBuffers(1, &entry.buffer);
    }
    if (!retired.empty()) alDeleteBuffers(static_cast<ALsizei>(retired.size()), retired.data());
}

std::string SoundCache::Key(const std::string& path, bool mono, bool stream) {
    return path + (stream ? "|stream" : mono ? "|mono" : "|as is");
}

Result SoundCache::Prepare(const std::string& path, bool mono, bool stream, bool upload) {
    std::string key = Key(path, mono, stream);
    if (sounds.count(key)) return Result::Ok;
    // Taken before reading, so that a file written meanwhile counts as changed.
    const FileStamp stamp = StampFile(path);
    std::unique_ptr<SoundFile> file;
    if (Result r = SoundFile::Open(path, &file); r != Result::Ok) return r;
    ALuint buffer = 0;
    if (!stream && upload) {
        Pcm pcm = file->ReadAll(mono);
        alGenBuffers(1, &buffer);
        if (!UploadPcm(buffer, pcm)) {
            alDeleteBuffers(1, &buffer);
            return Result::ErrFormat;
        }
    }
    sounds.emplace(key, Entry{path, mono, stream, buffer, stamp});
    return Result::Ok;
}

unsigned SoundCache::Buffer(const std::string& path, bool mono) const {
    auto it = sounds.find(Key(path, mono, false));
    return it == sounds.end() ? 0 : it->second.buffer;
}

void SoundCache::FreeRetired() {
    std::vector<unsigned> held;
    for (unsigned buffer : retired) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        // A source still holding the buffer refuses the delete; try again next time.
        if (alGetError() != AL_NO_ERROR) held.push_back(buffer);
    }
    retired.swap(held);
}

int SoundCache::ReloadChanged(std::vector<std::string>& failed) {
    FreeRetired();
    int reread = 0;
    for (auto& [key, entry] : sounds) {
        const FileStamp now = StampFile(entry.path);
        if (now == entry.stamp) continue;
        std::unique_ptr<SoundFile> file;
        if (SoundFile::Open(entry.path, &file) != Result::Ok) {
            failed.push_back(entry.path);
            continue;
        }
        if (entry.buffer) {
            // A new buffer rather than new data in the old one: a playing source holds the
            // old one, and the device refuses to change a buffer in use.
            Pcm pcm = file->ReadAll(entry.mono);
            ALuint buffer = 0;
            alGenBuffers(1, &buffer);
            if (pcm.samples.empty() || !UploadPcm(buffer, pcm)) {
                alDeleteBuffers(1, &buffer);
                failed.push_back(entry.path);
                continue;
            }
            retired.push_back(entry.buffer);
            entry.buffer = buffer;
        }
        entry.stamp = now;
        ++reread;
    }
    FreeRetired();
    return reread;
}

}  // namespace audio
