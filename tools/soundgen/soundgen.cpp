// A small synthesiser for the game's sound effects and music loop. Every sound is computed
// from fixed formulas and a fixed-seed generator, so running it again rewrites the same bytes.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "tools/soundgen/EnemySounds.h"
#include "tools/soundgen/GoalSounds.h"
#include "tools/soundgen/LevelMusic.h"
#include "tools/soundgen/MenuSounds.h"

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

// Own generator rather than <random>: the standard distributions differ between libraries.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    double Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state;
};

int Frames(double seconds) {
    return static_cast<int>(std::lround(seconds * kRate));
}

double Square(double phase, double duty = 0.5) {
    return std::fmod(phase, 1.0) < duty ? 1.0 : -1.0;
}
double Triangle(double phase) {
    return 4.0 * std::abs(std::fmod(phase, 1.0) - 0.5) - 1.0;
}
double Saw(double phase) {
    return 2.0 * std::fmod(phase, 1.0) - 1.0;
}

// One-pole low-pass, enough to darken noise.
struct LowPass {
    double a;
    double y = 0.0;
    explicit LowPass(double cutoff) : a(1.0 - std::exp(-2.0 * kPi * cutoff / kRate)) {}
    double operator()(double x) { return y += a * (x - y); }
};

double Envelope(double t, double attack, double decay) {
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// A tone whose frequency glides exponentially from f0 to f1 over its length.
Samples Sweep(double seconds, double f0, double f1, const std::function<double(double)>& wave,
              double attack, double decay) {
    Samples out(static_cast<std::size_t>(Frames(seconds)));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double f = f0 * std::pow(f1 / f0, t / seconds);
        phase += f / kRate;
        out[i] = wave(phase) * Envelope(t, attack, decay);
    }
    return out;
}

Samples NoiseBurst(double seconds, double cutoff, double attack, double decay, std::uint32_t seed) {
    Samples out(static_cast<std::size_t>(Frames(seconds)));
    Noise noise(seed);
    LowPass filter(cutoff);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        out[i] = filter(noise.Next()) * Envelope(t, attack, decay);
    }
    return out;
}

void MixInto(Samples& into, const Samples& what, double at, double gain) {
    auto start = static_cast<std::size_t>(Frames(at));
    if (into.size() < start + what.size()) into.resize(start + what.size(), 0.0);
    for (std::size_t i = 0; i < what.size(); ++i) into[start + i] += gain * what[i];
}

// Scales to the given peak; the quietest sounds still reach it, so levels are set in banks.
void Normalise(Samples& s, double peak) {
    double top = 0.0;
    for (double x : s) top = std::max(top, std::abs(x));
    if (top > 0.0) {
        for (double& x : s) x *= peak / top;
    }
}

// Short fades at both ends so that no sound starts or stops with a click.
void Declick(Samples& s) {
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(Frames(0.003)), s.size() / 2);
    for (std::size_t i = 0; i < n; ++i) {
        double g = static_cast<double>(i) / static_cast<double>(n);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

// Makes `s` loop seamlessly at `frames` by cross-fading what lies past the end into the start.
Samples MakeLoop(const Samples& s, int frames, int fade) {
    Samples out(s.begin(), s.begin() + frames);
    for (int i = 0; i < fade; ++i) {
        double g = static_cast<double>(i) / fade;
        auto k = static_cast<std::size_t>(i);
        out[k] = s[k] * g + s[static_cast<std::size_t>(frames) + k] * (1.0 - g);
    }
    return out;
}

void WriteWav(const std::filesystem::path& file, const Samples& s) {
    std::ofstream out(file, std::ios::binary);
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto put16 = [&](std::uint16_t v) {
        out.put(static_cast<char>(v & 0xff));
        out.put(static_cast<char>(v >> 8));
    };
    auto bytes = static_cast<std::uint32_t>(s.size() * 2);
    out.write("RIFF", 4);
    put32(36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(kRate);
    put32(kRate * 2);
    put16(2);
    put16(16);
    out.write("data", 4);
    put32(bytes);
    for (double x : s) {
        auto v = static_cast<std::int16_t>(std::lround(std::clamp(x, -1.0, 1.0) * 32767.0));
        put16(static_cast<std::uint16_t>(v));
    }
    if (!out) throw std::runtime_error(file.string() + ": cannot be written");
}

Samples Jump() {
    auto s = Sweep(
        0.22, 280.0, 880.0, [](double p) { return Square(p, 0.25); }, 0.005, 0.08);
    Normalise(s, 0.7);
    return s;
}

Samples Land() {
    auto s = Sweep(
        0.18, 120.0, 45.0, [](double p) { return std::sin(2 * kPi * p); }, 0.002, 0.05);
    MixInto(s, NoiseBurst(0.12, 900.0, 0.001, 0.025, 11), 0.0, 0.8);
    Normalise(s, 0.8);
    return s;
}

Samples Shot() {
    auto s = Sweep(
        0.2, 1400.0, 180.0, [](double p) { return Square(p); }, 0.001, 0.05);
    MixInto(s, NoiseBurst(0.15, 6000.0, 0.001, 0.03, 23), 0.0, 0.9);
    Normalise(s, 0.7);
    return s;
}

Samples Hit() {
    auto s = Sweep(
        0.3, 200.0, 55.0, [](double p) { return Square(p, 0.4); }, 0.002, 0.09);
    MixInto(s, NoiseBurst(0.3, 1500.0, 0.001, 0.07, 37), 0.0, 1.2);
    // Coarse steps give the hurt sound its grit.
    for (double& x : s) x = std::round(x * 6.0) / 6.0;
    Normalise(s, 0.75);
    return s;
}

Samples Pickup() {
    Samples s;
    auto tri = [](double p) { return 0.6 * Triangle(p) + 0.4 * Square(p, 0.125); };
    MixInto(s, Sweep(0.12, 1318.5, 1318.5, tri, 0.003, 0.06), 0.0, 1.0);
    MixInto(s, Sweep(0.25, 1975.5, 1975.5, tri, 0.003, 0.09), 0.09, 1.0);
    Normalise(s, 0.6);
    return s;
}

Samples Door() {
    Samples s(static_cast<std::size_t>(Frames(0.55)));
    double phase = 0.0;
    Noise noise(41);
    LowPass rasp(2500.0);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double f = 95.0 + 25.0 * std::sin(2 * kPi * 3.0 * t) + 60.0 * t;
        phase += f / kRate;
        double body = Saw(phase) * (0.6 + 0.4 * std::sin(2 * kPi * 7.0 * t));
        s[i] = (0.7 * body + 0.3 * rasp(noise.Next())) * std::min(1.0, t / 0.05);
    }
    MixInto(s,
            Sweep(
                0.3, 80.0, 50.0, [](double p) { return std::sin(2 * kPi * p); }, 0.002, 0.07),
            0.5, 2.0);
    MixInto(s, NoiseBurst(0.1, 700.0, 0.001, 0.02, 43), 0.5, 1.0);
    Normalise(s, 0.75);
    return s;
}

Samples Rumble() {
    const int loop = Frames(2.0);
    const int fade = Frames(0.25);
    Samples s(static_cast<std::size_t>(loop + fade));
    Noise noise(53);
    LowPass dark(120.0);
    LowPass darker(60.0);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double n = darker(dark(noise.Next()));
        double beat = std::sin(2 * kPi * 41.0 * t) + 0.7 * std::sin(2 * kPi * 43.5 * t);
        s[i] = 6.0 * n + 0.25 * beat;
    }
    auto out = MakeLoop(s, loop, fade);
    Normalise(out, 0.8);
    return out;
}

Samples Footsteps() {
    const int loop = Frames(0.7);
    Samples s(static_cast<std::size_t>(loop), 0.0);
    for (int step = 0; step < 2; ++step) {
        auto at = 0.35 * step;
        MixInto(s, NoiseBurst(0.09, 2200.0 - 500.0 * step, 0.002, 0.018, 61 + step), at, 1.0);
        MixInto(s,
                Sweep(
                    0.07, 140.0, 70.0, [](double p) { return std::sin(2 * kPi * p); }, 0.002, 0.02),
                at, 0.6);
    }
    s.resize(static_cast<std::size_t>(loop));
    Normalise(s, 0.6);
    return s;
}

double Note(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// Four bars at 120 beats per minute over A minor, F, C and G; every note dies away inside
// the loop, so the end joins the start without a seam.
Samples Music() {
    const double beat = 0.5;
    Samples s(static_cast<std::size_t>(Frames(16 * beat)), 0.0);
    const int roots[4] = {-24, -28, -21, -26};  // A2, F2, C3, G2
    const int arpeggio[4][4] = {{0, 3, 7, 12}, {0, 4, 7, 12}, {0, 4, 7, 12}, {0, 4, 7, 11}};
    const int melody[16] = {12, 15, 19, 17, 12, 16, 19, 16, 7, 11, 14, 19, 14, 11, 7, 2};
    for (int bar = 0; bar < 4; ++bar) {
        for (int b = 0; b < 4; ++b) {
            double at = (bar * 4 + b) * beat;
            double bass = Note(roots[bar]);
            MixInto(s, Sweep(beat * 0.95, bass, bass, Triangle, 0.005, 0.25), at, 0.5);
            for (int e = 0; e < 2; ++e) {
                double f = Note(roots[bar] + 24 + arpeggio[bar][(b * 2 + e) % 4]);
                auto pulse = [](double p) { return Square(p, 0.25); };
                MixInto(s, Sweep(beat * 0.45, f, f, pulse, 0.003, 0.06), at + e * beat / 2, 0.12);
            }
            double lead = Note(melody[bar * 4 + b]);
            auto lead_wave = [](double p) { return 0.7 * Square(p, 0.5) + 0.3 * Triangle(p); };
            MixInto(s, Sweep(beat * 0.9, lead, lead, lead_wave, 0.01, 0.3), at, 0.16);
            MixInto(s, NoiseBurst(0.05, 9000.0, 0.001, 0.01, 71 + static_cast<std::uint32_t>(b)),
                    at + beat / 2, 0.25);
        }
    }
    s.resize(static_cast<std::size_t>(Frames(16 * beat)));
    Normalise(s, 0.7);
    return s;
}

Samples Checkpoint() {
    return CheckpointChime(kRate);
}
Samples WallOn() {
    return WallOnBoom(kRate);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: soundgen <output folder>\n";
        return 2;
    }
    std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    struct Entry {
        const char* file;
        Samples (*make)();
        bool oneShot;
    };
    const Entry entries[] = {
        {"Jump.wav", Jump, true},
        {"Land.wav", Land, true},
        {"Shot.wav", Shot, true},
        {"Hit.wav", Hit, true},
        {"Pickup.wav", Pickup, true},
        {"Door.wav", Door, true},
        {"Rumble.wav", Rumble, false},
        {"Footsteps.wav", Footsteps, false},
        {"Music.wav", Music, false},
        {"MusicCave.wav", level_music::Cave, false},
        {"MusicFortress.wav", level_music::Fortress, false},
        {"Checkpoint.wav", Checkpoint, true},
        {"WallOn.wav", WallOn, true},
        {"EnemyDeath.wav", enemy_sounds::Death, true},
        {"EnemySpit.wav", enemy_sounds::Spit, true},
        {"MusicMenu.wav", menu_sounds::MenuTheme, false},
        {"MusicWin.wav", menu_sounds::WinTheme, false},
        {"MusicLose.wav", menu_sounds::LoseTheme, false},
        {"UIMove.wav", menu_sounds::Move, true},
        {"UIPress.wav", menu_sounds::Press, true},
        {"UIBack.wav", menu_sounds::Back, true},
    };
    try {
        for (const auto& entry : entries) {
            Samples s = entry.make();
            // Loops must meet themselves exactly; only one-shots get faded ends.
            if (entry.oneShot) Declick(s);
            WriteWav(folder / entry.file, s);
            std::cout << (folder / entry.file).string() << " " << s.size() << " frames\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "soundgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
