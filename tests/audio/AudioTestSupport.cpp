#include "tests/audio/AudioTestSupport.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include <sndfile.h>
#include <unistd.h>

#include "engine/MessageFrame.h"

namespace audio_test {

namespace fs = std::filesystem;

namespace {
fs::path Folder() {
    return fs::temp_directory_path() / ("halvex-audio-" + std::to_string(::getpid()));
}

void RemoveFolder() {
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
}

std::string Configure() {
    fs::path folder = Folder();
    fs::create_directories(folder);
    std::atexit(RemoveFolder);
    std::string output = (folder / "mix.wav").string();
    fs::path config = folder / "alsoft.conf";
    std::ofstream out(config);
    out << "[general]\n"
           "drivers = wave\n"
           "channels = stereo\n"
           "sample-type = int16\n"
           "frequency = 44100\n"
           "hrtf = false\n"
           "[wave]\n"
           "file = "
        << output << "\n";
    out.close();
    ::setenv("ALSOFT_CONF", config.c_str(), 1);
    return output;
}

// Configured while the test program starts, before any test can open a device.
const std::string kOutput = Configure();
}  // namespace

const std::string& OutputFile() {
    return kOutput;
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

void Advance(ManagerAudio& manager, double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        manager.HandleMessage(MessageUpdate(0.01f));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool AdvanceUntil(ManagerAudio& manager, const std::function<bool()>& done, double limit) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(limit);
    while (!done() && std::chrono::steady_clock::now() < end) Advance(manager, 0.01);
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

Mix ReadOutput() {
    SF_INFO info{};
    SNDFILE* file = sf_open(kOutput.c_str(), SFM_READ, &info);
    if (!file) throw std::runtime_error("no mix was written to " + kOutput);
    if (info.channels != 2) {
        sf_close(file);
        throw std::runtime_error("the mix is not stereo");
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames * 2));
    sf_count_t got = sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    Mix mix;
    mix.rate = info.samplerate;
    for (sf_count_t i = 0; i < got; ++i) {
        mix.left.push_back(frames[static_cast<std::size_t>(2 * i)]);
        mix.right.push_back(frames[static_cast<std::size_t>(2 * i + 1)]);
    }
    return mix;
}

}  // namespace audio_test
