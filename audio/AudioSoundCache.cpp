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
    for (auto& [key, buffer] : sounds) {
        if (buffer) alDeleteBuffers(1, &buffer);
    }
}

std::string SoundCache::Key(const std::string& path, bool mono, bool stream) {
    return path + (stream ? "|stream" : mono ? "|mono" : "|as is");
}

Result SoundCache::Prepare(const std::string& path, bool mono, bool stream, bool upload) {
    std::string key = Key(path, mono, stream);
    if (sounds.count(key)) return Result::Ok;
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
    sounds.emplace(key, buffer);
    return Result::Ok;
}

unsigned SoundCache::Buffer(const std::string& path, bool mono) const {
    auto it = sounds.find(Key(path, mono, false));
    return it == sounds.end() ? 0 : it->second;
}

}  // namespace audio
