// The screens' music and the menus' clicks, from fixed formulas like the rest of soundgen.

#include "tools/soundgen/MenuSounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "tools/soundgen/Synth.h"

namespace menu_sounds {
namespace {

using namespace synth;

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
                Hit(s, barStart + b * beat, 0.1, 4000.0, 501 + static_cast<std::uint32_t>(b), 0.18);
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
            Hit(s, at, 0.08, b % 2 ? 6000.0 : 300.0, 601 + static_cast<std::uint32_t>(b),
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
