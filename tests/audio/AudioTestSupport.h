#pragma once

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "audio/ManagerAudio.h"
#include "tests/support/TempAssets.h"

/// OpenAL Soft is pointed at its wave-file writer for this process only (a config file named
/// by ALSOFT_CONF, set before the first device opens), so every ManagerAudio of a test mixes
/// into one WAV file that the test reads back after the manager is gone.
namespace audio_test {

/// The WAV file the current device writes; rewritten each time a device opens.
const std::string& OutputFile();

/// Writes a mono 16-bit sine tone of `seconds` at 44.1 kHz with the given peak.
void WriteTone(const TempAssets& assets, const std::string& relative, double seconds,
               double frequency = 450.0, double peak = 0.5);

/// Writes Assets/Banks/<name>.bank.
void WriteBank(const TempAssets& assets, const std::string& name, const nlohmann::json& bank);

/// Writes the two master banks the manager loads at construction: a master bank declaring
/// "bus:/SFX" and the parameter "PauseMenuScreen", and an empty strings bank.
void WriteMasterBanks(const TempAssets& assets);

/// Sends MessageUpdate to the manager about every 10 ms for `seconds` of real time, as the
/// device's writer mixes in real time.
void Advance(ManagerAudio& manager, double seconds);

/// Advances as Advance does until `done` holds, for at most `limit` seconds; returns `done()`.
/// For waiting on sounds to end: on a busy machine the writer may mix later than real time.
bool AdvanceUntil(ManagerAudio& manager, const std::function<bool()>& done, double limit = 5.0);

/// The rendered mix, read once its manager (and so its device) is destroyed.
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
    /// is no level. The mix is compared with itself like this because the device's writer
    /// keeps the order of changes but, on a busy machine, not their exact times, and it may
    /// write silence for a while between the last sound's end and the device's closing.
    std::vector<double> Plateaus(int minWindows = 5) const;
    /// Runs of audible (true) and silent (false) 20 ms windows after the onset, with their
    /// lengths in seconds; windows between the two thresholds join the run before them. The
    /// silence while the device closes is left out.
    std::vector<std::pair<bool, double>> Runs(double audible, double silent) const;
    double Seconds() const { return rate ? static_cast<double>(left.size()) / rate : 0.0; }
};
Mix ReadOutput();

}  // namespace audio_test
