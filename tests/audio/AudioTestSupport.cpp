#include "tests/audio/AudioTestSupport.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include <sndfile.h>
#include <unistd.h>

#include "audio/MessageAudio.h"
#include "engine/MessageState.h"

namespace audio_test {

namespace fs = std::filesystem;

namespace {
fs::path ConfigFile() {
    return fs::temp_directory_path() / ("halvex-audio-" + std::to_string(::getpid()) + ".conf");
}

// A real device, where a test asks for one, is OpenAL Soft's wave writer into nothing, so no
// sound card is needed; the rendering devices take the same plain stereo without HRTF.
// Set while the test program starts, before any device is opened.
bool Configure() {
    std::ofstream(ConfigFile()) << "[general]\ndrivers = wave\nchannels = stereo\n"
                                   "hrtf = false\n[wave]\nfile = /dev/null\n";
    std::atexit([] {
        std::error_code ignored;
        fs::remove(ConfigFile(), ignored);
    });
    ::setenv("ALSOFT_CONF", ConfigFile().c_str(), 1);
    return true;
}
const bool kConfigured = Configure();
}  // namespace

bool DeviceConfigured() {
    return kConfigured;
}

void WriteTone(const TempAssets& assets, const std::string& relative, double seconds,
               double frequency, double peak) {
    fs::path path = assets.Root() / relative;
    fs::create_directories(path.parent_path());
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) throw std::runtime_error("cannot write " + path.string());
    auto frames = static_cast<std::size_t>(seconds * info.samplerate);
    std::vector<float> samples(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        samples[i] = static_cast<float>(
            peak * std::sin(2.0 * 3.14159265358979 * frequency * static_cast<double>(i) / 44100.0));
    }
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
}

void WriteBank(const TempAssets& assets, const std::string& name, const nlohmann::json& bank) {
    assets.WriteJson("Assets/Banks/" + name + ".bank", bank);
}

void WriteMasterBanks(const TempAssets& assets) {
    WriteBank(assets, "Master",
              {{"Buses", {{"bus:/SFX", nlohmann::json::object()}}},
               {"Parameters", {{"PauseMenuScreen", {{"Minimum", 0}, {"Maximum", 1}}}}}});
    WriteBank(assets, "Master.strings", nlohmann::json::object());
}

namespace {
std::vector<std::unique_ptr<Manager>> RenderingManager(Mix& mix, ManagerAudio*& made) {
    mix.rate = 44100;
    audio::RenderTarget target;
    target.rate = mix.rate;
    target.write = [&mix](const float* frames, int count) {
        for (int i = 0; i < count; ++i) {
            mix.left.push_back(frames[2 * i]);
            mix.right.push_back(frames[2 * i + 1]);
        }
    };
    auto manager = std::make_unique<ManagerAudio>(std::move(target));
    made = manager.get();
    std::vector<std::unique_ptr<Manager>> managers;
    managers.push_back(std::move(manager));
    return managers;
}
}  // namespace

AudioRig::AudioRig(const TempAssets& assets) : engine({}, RenderingManager(mix, manager)) {
    assets.Scene("Audio", nlohmann::json::object());
    // Entered by the first frame the test runs, so that no sound time passes before it.
    engine.Send(MessageChangeState("Audio"));
}

void AudioRig::Play(std::string_view name, const glm::vec3& position) {
    Send(MessageAudioEvent(name, position, glm::vec3(0.0f)));
}

void AudioRig::Step(double seconds, float dt) {
    // Counted in whole frames, so that the same call always runs the same frames.
    auto frames = static_cast<int>(std::lround(seconds / dt));
    engine.Frames(frames, dt);
}

bool AudioRig::StepUntil(const std::function<bool()>& done, double limit) {
    for (double elapsed = 0.0; !done() && elapsed < limit; elapsed += kFrame) engine.Frame(kFrame);
    return done();
}

double Mix::Rms(double from, double to, int channel) const {
    auto first = static_cast<std::size_t>(std::max(0.0, from) * rate);
    auto last = std::min(left.size(), static_cast<std::size_t>(std::max(0.0, to) * rate));
    if (last <= first) return 0.0;
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i) {
        if (channel != 1) sum += static_cast<double>(left[i]) * left[i];
        if (channel != 0) sum += static_cast<double>(right[i]) * right[i];
    }
    return std::sqrt(sum / static_cast<double>((last - first) * (channel == 2 ? 2 : 1)));
}

double Mix::Onset(double from) const {
    for (auto i = static_cast<std::size_t>(std::max(0.0, from) * rate); i < left.size(); ++i) {
        if (std::abs(left[i]) > 0.01f || std::abs(right[i]) > 0.01f) {
            return static_cast<double>(i) / rate;
        }
    }
    return -1.0;
}

namespace {
constexpr double kWindow = 0.02;
// Below this a window is silence: the mixer writes exact zeros when nothing plays.
constexpr double kQuiet = 0.002;
}  // namespace

std::vector<double> Mix::Plateaus(int minWindows) const {
    std::vector<double> plateaus;
    double start = Onset(0.0);
    if (start < 0.0) return plateaus;
    std::vector<double> run;
    auto close = [&] {
        if (static_cast<int>(run.size()) >= minWindows) {
            double sum = 0.0;
            for (double level : run) sum += level;
            plateaus.push_back(sum / static_cast<double>(run.size()));
        }
        run.clear();
    };
    for (double t = start; t + kWindow <= Seconds(); t += kWindow) {
        double level = Rms(t, t + kWindow);
        if (!run.empty() && std::abs(level - run.front()) > 0.05 * run.front()) close();
        if (level < kQuiet) continue;
        run.push_back(level);
    }
    close();
    return plateaus;
}

std::vector<std::pair<bool, double>> Mix::Runs(double audible, double silent) const {
    std::vector<std::pair<bool, double>> runs;
    double start = Onset(0.0);
    if (start < 0.0) return runs;
    for (double t = start; t + kWindow <= Seconds(); t += kWindow) {
        double level = Rms(t, t + kWindow);
        bool loud = runs.empty() ? true : runs.back().first;
        if (level > audible) loud = true;
        if (level < silent) loud = false;
        if (runs.empty() || runs.back().first != loud) runs.emplace_back(loud, 0.0);
        runs.back().second += kWindow;
    }
    if (!runs.empty() && !runs.back().first) runs.pop_back();
    return runs;
}

}  // namespace audio_test
