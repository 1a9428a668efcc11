#include "tools/soundgen/Synth.h"

#include <algorithm>
#include <cmath>

namespace synth {

std::size_t Frames(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * kRate));
}

double Note(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

double Sine(double phase) {
    return std::sin(2 * kPi * phase);
}

double Pulse(double phase, double duty) {
    return std::fmod(phase, 1.0) < duty ? 1.0 : -1.0;
}

double Triangle(double phase) {
    return 4.0 * std::abs(std::fmod(phase, 1.0) - 0.5) - 1.0;
}

void Play(Samples& into, double at, double seconds, double frequency, const Wave& wave,
          double decay, double gain) {
    const std::size_t start = Frames(at);
    const std::size_t length = Frames(seconds);
    for (std::size_t i = 0; i < length && start + i < into.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.004);
        const double release = std::min(1.0, static_cast<double>(length - i) / Frames(0.01));
        into[start + i] += gain * wave(frequency * t) * attack * release * std::exp(-t / decay);
    }
}

void Hit(Samples& into, double at, double seconds, double brightness, std::uint32_t seed,
         double gain) {
    std::uint32_t state = seed;
    double low = 0.0;
    const double a = 1.0 - std::exp(-2.0 * kPi * brightness / kRate);
    const std::size_t start = Frames(at);
    for (std::size_t i = 0; i < Frames(seconds) && start + i < into.size(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const double noise = static_cast<double>(state) / 2147483648.0 - 1.0;
        low += a * (noise - low);
        const double t = static_cast<double>(i) / kRate;
        into[start + i] += gain * low * std::exp(-t / (seconds / 4));
    }
}

void Normalise(Samples& s, double peak) {
    double top = 0.0;
    for (double x : s) top = std::max(top, std::abs(x));
    if (top > 0.0) {
        for (double& x : s) x *= peak / top;
    }
}

}  // namespace synth
