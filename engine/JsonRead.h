#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

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

/// A number as integer type T; fractions truncate. A value T cannot hold raises the JSON
/// library's out_of_range error instead of an undefined conversion.
template <class T>
T Integer(const json& j) {
    constexpr auto low = std::numeric_limits<T>::lowest();
    constexpr auto high = std::numeric_limits<T>::max();
    bool fits = true;
    if (j.is_number_unsigned()) {
        fits = j.get<std::uint64_t>() <= static_cast<std::uint64_t>(high);
    } else if (j.is_number_integer()) {
        const auto value = j.get<std::int64_t>();
        fits = (std::is_signed_v<T> || value >= 0) &&
               (value >= 0 || value >= static_cast<std::int64_t>(low)) &&
               (value < 0 || static_cast<std::uint64_t>(value) <= static_cast<std::uint64_t>(high));
    } else if (j.is_number_float()) {
        const double value = j.get<double>();
        // Compared as doubles: 2^63 and beyond round to a bound that no longer fits.
        fits = std::isfinite(value) && value > static_cast<double>(low) - 1.0 &&
               value < static_cast<double>(high) + 1.0;
    } else {
        return j.get<T>();  // the library's own type error
    }
    if (!fits) {
        throw json::out_of_range::create(406, "number " + j.dump() + " is out of range", &j);
    }
    return j.get<T>();
}

/// Reads `key` into `out` when present. Numbers convert to any numeric field.
template <class T>
void Key(const json& j, const char* key, T& out) {
    if (!j.is_object()) return;
    auto it = j.find(key);
    if (it == j.end()) return;
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
        out = Integer<T>(*it);
    } else {
        it->get_to(out);
    }
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
    for (int i = 0; i < N; ++i) out[i] = Integer<int>(it->at(i));
}

}  // namespace json_read
