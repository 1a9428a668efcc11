#pragma once

#include <array>
#include <vector>

#include <glm/vec2.hpp>
#include <nlohmann/json.hpp>

/// A value over a particle's life: (time, value) keys, time 0 at birth and 1 at death.
using ParticleCurve = std::vector<glm::vec2>;

/// The curve at life fraction `t`. One key: its value. Several: linear between the first key
/// whose time exceeds `t` (searching from the second) and the key before it, so times before
/// the second key extrapolate the first segment; past every key, the last value. An empty
/// curve has no value and gives `fallback`.
inline float EvaluateCurve(const ParticleCurve& curve, float t, float fallback);

/// Reads `N` curves from the array under `key` (further elements ignored). Each curve is an
/// array of [time, value] number pairs.
template <std::size_t N>
void ReadCurves(const nlohmann::json& j, const char* key, std::array<ParticleCurve, N>& curves);

/// One curve from an array of [time, value] pairs.
ParticleCurve ReadCurve(const nlohmann::json& j);

/// Throws the JSON library's type error unless `j` is an array.
void RequireArray(const nlohmann::json& j);

template <std::size_t N>
void ReadCurves(const nlohmann::json& j, const char* key, std::array<ParticleCurve, N>& curves) {
    if (!j.is_object()) return;
    auto it = j.find(key);
    if (it == j.end()) return;
    RequireArray(*it);
    // Read aside so that an error leaves the curves as they were.
    std::array<ParticleCurve, N> read;
    for (std::size_t i = 0; i < N; ++i) read[i] = ReadCurve(it->at(i));
    curves = std::move(read);
}

// Inline: it runs for every particle and channel of every frame.
inline float EvaluateCurve(const ParticleCurve& curve, float t, float fallback) {
    if (curve.empty()) return fallback;
    if (curve.size() == 1) return curve[0].y;
    for (std::size_t i = 1; i < curve.size(); ++i) {
        const glm::vec2& b = curve[i];
        if (b.x > t) {
            const glm::vec2& a = curve[i - 1];
            // Only the first segment can be degenerate (keys out of order or sharing a time):
            // from the second on, a.x <= t < b.x. Hold the first key rather than divide by 0.
            if (!(b.x > a.x)) return a.y;
            return a.y + (b.y - a.y) * (t - a.x) / (b.x - a.x);
        }
    }
    return curve.back().y;
}
