// The later levels' music, from fixed formulas and a fixed-seed generator like the rest.

#include "tools/soundgen/LevelMusic.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace level_music {
namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;
using Wave = std::function<double(double)>;

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

// Adds a note of `seconds` at `at` with a short attack and an exponential decay; whatever
// would run past the loop's end is cut off, so callers keep their notes inside it.
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

}  // namespace

Samples Cave() {
    const double beat = 60.0 / 96.0;
    Samples s(Frames(16 * beat), 0.0);
    const int roots[4] = {-19, -23, -26, -21};  // D3, A#2, G2, C3
    const int chord[4][3] = {{0, 3, 7}, {0, 4, 7}, {0, 3, 7}, {0, 4, 7}};
    const Wave bell = [](double p) { return Sine(p) + 0.3 * Sine(p * 2.76); };
    for (int bar = 0; bar < 4; ++bar) {
        const double barStart = bar * 4 * beat;
        Play(s, barStart, 4 * beat - 0.05, Note(roots[bar] - 12), Sine, 2.0, 0.45);
        for (int step = 0; step < 8; ++step) {
            const int degree = chord[bar][step % 3] + (step >= 4 ? 12 : 0);
            const double at = barStart + step * beat / 2;
            const double f = Note(roots[bar] + 12 + degree);
            Play(s, at, beat * 1.2, f, bell, 0.35, 0.22);
            // The cave's echo: the same bell, later and softer, still inside the loop.
            if (at + 0.75 * beat + beat * 1.2 < 16 * beat) {
                Play(s, at + 0.75 * beat, beat * 1.2, f, bell, 0.35, 0.08);
            }
        }
        Hit(s, barStart + 2 * beat, 0.4, 600.0, 301 + static_cast<std::uint32_t>(bar), 0.5);
    }
    Normalise(s, 0.7);
    return s;
}

Samples Fortress() {
    const double beat = 60.0 / 144.0;
    Samples s(Frames(16 * beat), 0.0);
    const int roots[4] = {-17, -17, -21, -19};  // E3, E3, C3, D3
    const int melody[16] = {7, 10, 12, 10, 7, 5, 7, 3, 3, 7, 10, 8, 5, 7, 9, 12};
    const Wave lead = [](double p) { return 0.6 * Pulse(p, 0.25) + 0.4 * Sine(p); };
    const Wave bass = [](double p) { return Pulse(p, 0.5) * 0.7 + Sine(p) * 0.3; };
    for (int bar = 0; bar < 4; ++bar) {
        for (int b = 0; b < 4; ++b) {
            const double at = (bar * 4 + b) * beat;
            for (int e = 0; e < 2; ++e) {
                Play(s, at + e * beat / 2, beat * 0.45, Note(roots[bar] - 12), bass, 0.12, 0.3);
            }
            Play(s, at, beat * 0.9, Note(roots[bar] + 12 + melody[bar * 4 + b]), lead, 0.25, 0.16);
            Hit(s, at, 0.12, 180.0, 401 + static_cast<std::uint32_t>(b), b % 2 ? 0.0 : 0.8);
            if (b % 2) Hit(s, at, 0.18, 5000.0, 411 + static_cast<std::uint32_t>(bar), 0.5);
        }
    }
    Normalise(s, 0.7);
    return s;
}

}  // namespace level_music
