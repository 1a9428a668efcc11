#pragma once

#include <string>

#include <glm/glm.hpp>
#include <nlohmann/json.hpp>

/// Helpers for component JSON readers. Every key is optional; a present key of the wrong
/// JSON type raises the JSON library's type error, so no component is added.
namespace json_read {

using json = nlohmann::json;

/// Component descriptions must be objects (null counts as empty, as merge patches can leave).
inline void RequireObject(const json& j) {
    if (!j.is_object() && !j.is_null()) {
        throw(json::type_error::create(
            302, std::string("type must be object, but is ") + j.type_name(), &j));
    }
}

/// Reads `key` into `out` when present. Numbers convert to any numeric field.
template <class T>
void Key(const json& j, const char* key, T& out) {
    if (!j.is_object()) return;
    auto it = j.find(key);
    if (it != j.end()) it->get_to(out);
}

/// Reads the first N elements of an array key into a glm vector (at least N elements).
template <int N>
void Vec(const json& j, const char* key, glm::vec<N, float>& out) {
    if (!j.is_object()) return;
    auto it = j.find(key);
    if (it == j.end()) return;
    for (int i = 0; i < N; ++i) out[i] = it->at(i).template get<float>();
}

template <int N>
void IVec(const json& j, const char* key, glm::vec<N, int>& out) {
    if (!j.is_object()) return;
    auto it = j.find(key);
    if (it == j.end()) return;
    for (int i = 0; i < N; ++i) out[i] = it->at(i).template get<int>();
}

}  // namespace json_read
