// The screens' music and the menus' clicks, from fixed formulas like the rest of soundgen.

#include "tools/soundgen/MenuSounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace menu_sounds {
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

double Triangle(double phase) {
    return 4.0 * std::abs(std::fmod(phase, 1.0) - 0.5) - 1.0;
}

// A note of `seconds` at `at` with a short attack, an exponential decay and a 10 ms release;
// whatever would run past the end is cut off, so loops keep their notes inside.
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

// A soft noise tap (a brush on a snare), from a fixed seed.
void Tap(Samples& into, double at, double seconds, double brightness, std::uint32_t seed,
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

const Wave kBell = [](double p) { return Sine(p) + 0.25 * Sine(p * 3.0); };
const Wave kSoftLead = [](double p) { return 0.5 * Pulse(p, 0.5) + 0.5 * Triangle(p); };

}  // namespace

Samples MenuTheme() {
    const double beat = 60.0 / 100.0;
    Samples s(Frames(16 * beat), 0.0);
    const int roots[4] = {-21, -16, -19, -14};  // C3, F3, D3, G3
    const int chord[4][3] = {{0, 4, 7}, {0, 4, 7}, {0, 3, 7}, {0, 4, 7}};
    // Scale steps above C4, one per beat; -1 rests.
    const int melody[16] = {7, 4, 5, 7, 9, 7, 5, 4, 2, 5, 4, 2, 2, -1, -1, -1};
    for (int bar = 0; bar < 4; ++bar) {
        const double barStart = bar * 4 * beat;
        Play(s, barStart, 2 * beat, Note(roots[bar] - 12), Triangle, 0.8, 0.4);
        Play(s, barStart + 2 * beat, 2 * beat - 0.02, Note(roots[bar] - 12), Triangle, 0.8, 0.3);
        for (int step = 0; step < 8; ++step) {
            const int degree = chord[bar][step % 3] + (step >= 3 && step < 6 ? 12 : 0);
            Play(s, barStart + step * beat / 2, beat * 0.8, Note(roots[bar] + 12 + degree), kBell,
                 0.3, 0.16);
        }
        for (int b = 0; b < 4; ++b) {
            const int m = melody[bar * 4 + b];
            if (m >= 0)
                Play(s, barStart + b * beat, beat * 0.9, Note(-9 + m), kSoftLead, 0.4, 0.12);
            if (b % 2)
                Tap(s, barStart + b * beat, 0.1, 4000.0, 501 + static_cast<std::uint32_t>(b), 0.18);
        }
    }
    Normalise(s, 0.6);
    return s;
}

Samples WinTheme() {
    const double beat = 60.0 / 132.0;
    Samples s(Frames(16 * beat), 0.0);
    const int roots[4] = {-14, -21, -16, -14};  // G3, C3, F3, G3
    const int fanfare[16] = {0, 4, 7, 12, 12, 7, 9, 12, 10, 9, 7, 5, 7, 11, 14, 12};
    const Wave brass = [](double p) { return 0.6 * Pulse(p, 0.125) + 0.4 * Pulse(p, 0.5); };
    for (int bar = 0; bar < 4; ++bar) {
        for (int b = 0; b < 4; ++b) {
            const double at = (bar * 4 + b) * beat;
            Play(s, at, beat * 0.9, Note(roots[bar] - 12), Triangle, 0.3, 0.4);
            Play(s, at, beat * 0.85, Note(-2 + fanfare[bar * 4 + b]), brass, 0.35, 0.14);
            for (int e = 0; e < 2; ++e) {
                const int arp[2] = {7, 16};
                Play(s, at + e * beat / 2, beat * 0.4, Note(roots[bar] + 12 + arp[e]), kBell, 0.1,
                     0.08);
            }
            Tap(s, at, 0.08, b % 2 ? 6000.0 : 300.0, 601 + static_cast<std::uint32_t>(b),
                b % 2 ? 0.2 : 0.45);
        }
    }
    Normalise(s, 0.6);
    return s;
}

Samples LoseTheme() {
    const double beat = 60.0 / 72.0;
    Samples s(Frames(8 * beat), 0.0);
    const int line[8] = {12, 10, 8, 7, 5, 3, 2, 0};  // down from A4 to A3 in minor
    for (int bar = 0; bar < 2; ++bar) {
        Play(s, bar * 4 * beat, 4 * beat - 0.02, Note(-36), Sine, 2.5, 0.45);
        Play(s, bar * 4 * beat, 4 * beat - 0.02, Note(-29), Sine, 2.0, 0.2);
    }
    for (int b = 0; b < 8; ++b) {
        Play(s, b * beat, beat * 0.95, Note(-12 + line[b]), kBell, 0.5, 0.2);
        Play(s, b * beat + beat / 2, beat * 0.45, Note(-12 + line[b] - 5), kBell, 0.3, 0.07);
    }
    Normalise(s, 0.55);
    return s;
}

Samples Move() {
    Samples s(Frames(0.045), 0.0);
    Play(
        s, 0.0, 0.045, 1320.0, [](double p) { return Pulse(p, 0.25); }, 0.012, 0.5);
    Normalise(s, 0.35);
    return s;
}

Samples Press() {
    Samples s(Frames(0.14), 0.0);
    const Wave blip = [](double p) { return 0.6 * Pulse(p, 0.5) + 0.4 * Triangle(p); };
    Play(s, 0.0, 0.06, Note(3), blip, 0.04, 0.5);
    Play(s, 0.055, 0.085, Note(10), blip, 0.05, 0.5);
    Normalise(s, 0.45);
    return s;
}

Samples Back() {
    Samples s(Frames(0.14), 0.0);
    const Wave blip = [](double p) { return 0.6 * Pulse(p, 0.5) + 0.4 * Triangle(p); };
    Play(s, 0.0, 0.06, Note(5), blip, 0.04, 0.5);
    Play(s, 0.055, 0.085, Note(-2), blip, 0.05, 0.5);
    Normalise(s, 0.45);
    return s;
}

}  // namespace menu_sounds
