#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

/// Hashes every string type alike so that effect names can be looked up from a string_view
/// without building a std::string each frame.
struct ParticleNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};

/// Effect name -> T, searchable with a std::string_view.
template <class T>
using ParticleNameMap = std::unordered_map<std::string, T, ParticleNameHash, std::equal_to<>>;
