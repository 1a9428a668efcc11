// The enemies' sounds, from fixed formulas and a fixed-seed generator like the rest.

#include "tools/soundgen/EnemySounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace enemy_sounds {
namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

std::size_t Frames(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * kRate));
}

double NextNoise(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483648.0 - 1.0;
}

void Normalise(std::vector<double>& s, double peak) {
    double top = 0.0;
    for (double x : s) top = std::max(top, std::abs(x));
    if (top > 0.0) {
        for (double& x : s) x *= peak / top;
    }
}

}  // namespace

std::vector<double> Death() {
    std::vector<double> s(Frames(0.45));
    double phase = 0.0;
    std::uint32_t noise = 89;
    double dark = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        // A squeak that jumps up, then falls away under a crunch of filtered noise.
        const double f = t < 0.06 ? 600.0 + 9000.0 * t : 1140.0 * std::exp(-(t - 0.06) * 6.0);
        phase += f / kRate;
        const double squeak = std::sin(2 * kPi * phase) * std::exp(-t * 7.0);
        dark += 0.25 * (NextNoise(noise) - dark);
        const double crunch = t < 0.05 ? 0.0 : dark * std::exp(-(t - 0.05) * 12.0);
        s[i] = 0.8 * squeak + 1.4 * crunch;
    }
    Normalise(s, 0.75);
    return s;
}

std::vector<double> Spit() {
    std::vector<double> s(Frames(0.16));
    double phase = 0.0;
    std::uint32_t noise = 97;
    double air = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double f = 420.0 * std::exp(-t * 9.0) + 90.0;
        phase += f / kRate;
        const double pop =
            std::sin(2 * kPi * phase) * std::min(1.0, t / 0.004) * std::exp(-t * 25.0);
        air += 0.5 * (NextNoise(noise) - air);
        s[i] = pop + 0.5 * air * std::exp(-t * 40.0);
    }
    Normalise(s, 0.7);
    return s;
}

}  // namespace enemy_sounds
