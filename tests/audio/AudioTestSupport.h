#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "audio/ManagerAudio.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

namespace audio_test {

/// True once the default device is pointed at OpenAL Soft's wave writer (into /dev/null) for
/// this process; that happens while the test program starts.
bool DeviceConfigured();

/// Writes a mono 16-bit sine tone of `seconds` at 44.1 kHz with the given peak.
void WriteTone(const TempAssets& assets, const std::string& relative, double seconds,
               double frequency = 450.0, double peak = 0.5);

/// Writes Assets/Banks/<name>.bank.
void WriteBank(const TempAssets& assets, const std::string& name, const nlohmann::json& bank);

/// Writes the two master banks the manager loads at construction: a master bank declaring
/// "bus:/SFX" and the parameter "PauseMenuScreen", and an empty strings bank.
void WriteMasterBanks(const TempAssets& assets);

/// A rendered stereo mix, sample for sample as the frames made it.
struct Mix {
    int rate = 0;
    std::vector<float> left;
    std::vector<float> right;

    /// Root mean square over [from, to) seconds; channel 0 left, 1 right, 2 both.
    double Rms(double from, double to, int channel = 2) const;
    /// The first time at or after `from` where either channel leaves silence; -1 if never.
    double Onset(double from) const;
    /// The steady levels (RMS of both channels) the mix goes through after its onset, in
    /// order: runs of at least `minWindows` 20 ms windows within 5 % of each other; silence
    /// is no level.
    std::vector<double> Plateaus(int minWindows = 5) const;
    /// Runs of audible (true) and silent (false) 20 ms windows after the onset, with their
    /// lengths in seconds; windows between the two thresholds join the run before them.
    /// Trailing silence is left out.
    std::vector<std::pair<bool, double>> Runs(double audible, double silent) const;
    double Seconds() const { return rate ? static_cast<double>(left.size()) / rate : 0.0; }
};

/// A ManagerAudio that renders into `mix` instead of a sound card, in an engine stepped by
/// hand: each frame renders exactly its frame time, so nothing waits on the clock.
class AudioRig {
public:
    static constexpr float kFrame = 1.0f / 60.0f;

    /// `assets` holds the banks; the rig adds an empty scene for the engine to enter.
    explicit AudioRig(const TempAssets& assets);

    ManagerAudio& Manager() { return *manager; }
    audio::Runtime& Runtime() { return manager->Runtime(); }
    bool Send(const Message& message) { return engine.Send(message); }
    void Play(std::string_view name, const glm::vec3& position = glm::vec3(0.0f));

    /// Runs frames of `dt` until `seconds` of frame time have passed.
    void Step(double seconds, float dt = kFrame);
    /// Runs frames until `done` holds, for at most `limit` seconds of frame time; returns
    /// `done()`.
    bool StepUntil(const std::function<bool()>& done, double limit = 5.0);

    Mix mix;

private:
    ManagerAudio* manager = nullptr;
    TestEngine engine;
};

}  // namespace audio_test
