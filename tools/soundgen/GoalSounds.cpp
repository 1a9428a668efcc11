#include "tools/soundgen/GoalSounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;

double Bell(double t, double frequency) {
    // Two inharmonic partials give a struck-metal colour.
    return std::sin(2 * kPi * frequency * t) + 0.4 * std::sin(2 * kPi * frequency * 2.76 * t);
}

void Normalise(std::vector<double>& s, double peak) {
    double top = 0.0;
    for (double x : s) top = std::max(top, std::abs(x));
    if (top > 0.0) {
        for (double& x : s) x *= peak / top;
    }
}

}  // namespace

std::vector<double> CheckpointChime(int rate) {
    // A rising major arpeggio, each note ringing under the next.
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    std::vector<double> s(static_cast<std::size_t>(rate * 0.9));
    for (int n = 0; n < 4; ++n) {
        const auto start = static_cast<std::size_t>(rate * 0.08 * n);
        for (std::size_t i = start; i < s.size(); ++i) {
            const double t = static_cast<double>(i - start) / rate;
            s[i] += Bell(t, notes[n]) * std::exp(-t / 0.25) * std::min(1.0, t / 0.004);
        }
    }
    Normalise(s, 0.6);
    return s;
}

std::vector<double> WallOnBoom(int rate) {
    // A falling sub tone with a burst of dark noise: the wall waking up.
    std::vector<double> s(static_cast<std::size_t>(rate * 1.4));
    std::uint32_t state = 97;
    double phase = 0.0;
    double dark = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        phase += (70.0 * std::pow(30.0 / 70.0, t / 1.4)) / rate;
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const double noise = static_cast<double>(state) / 2147483648.0 - 1.0;
        dark += 0.02 * (noise - dark);
        const double envelope = std::min(1.0, t / 0.01) * std::exp(-t / 0.45);
        s[i] = (std::sin(2 * kPi * phase) + 4.0 * dark) * envelope;
    }
    Normalise(s, 0.85);
    return s;
}
