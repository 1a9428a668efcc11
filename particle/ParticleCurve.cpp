#include "particle/ParticleCurve.h"

#include <string>

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
