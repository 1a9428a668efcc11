#include "particle/ParticleCurve.h"

#include <string>

float EvaluateCurve(const ParticleCurve& curve, float t, float fallback) {
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

void RequireArray(const nlohmann::json& j) {
    if (!j.is_array()) {
        throw nlohmann::json::type_error::create(
            302, std::string("type must be array, but is ") + j.type_name(), &j);
    }
}

ParticleCurve ReadCurve(const nlohmann::json& j) {
    RequireArray(j);
    ParticleCurve curve;
    curve.reserve(j.size());
    for (const nlohmann::json& key : j) {
        RequireArray(key);
        curve.emplace_back(key.at(0).get<float>(), key.at(1).get<float>());
    }
    return curve;
}
