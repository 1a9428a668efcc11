// The later levels' music, from fixed formulas and a fixed-seed generator like the rest.

#include "tools/soundgen/LevelMusic.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "tools/soundgen/Synth.h"

namespace level_music {
namespace {

using namespace synth;

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
