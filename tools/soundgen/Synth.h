#pragma once

// The building blocks the music generators share: waves, notes with an envelope, noise hits.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace synth {

inline constexpr int kRate = 22050;
inline constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;
using Wave = std::function<double(double)>;

std::size_t Frames(double seconds);
/// The frequency `semitonesFromA4` semitones from 440 Hz.
double Note(int semitonesFromA4);
double Sine(double phase);
double Pulse(double phase, double duty);
double Triangle(double phase);

/// Adds a note of `seconds` at `at` with a short attack, an exponential decay and a 10 ms
/// release; whatever would run past the end is cut off, so loops keep their notes inside.
void Play(Samples& into, double at, double seconds, double frequency, const Wave& wave,
          double decay, double gain);
/// Adds a soft noise hit (a brush on a snare) from a fixed seed.
void Hit(Samples& into, double at, double seconds, double brightness, std::uint32_t seed,
         double gain);
/// Scales `s` so that its loudest sample is `peak`.
void Normalise(Samples& s, double peak);

}  // namespace synth
