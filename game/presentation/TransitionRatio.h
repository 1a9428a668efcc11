#pragma once

#include <optional>

/// Where `x` lies between `start` (0) and `end` (1), unclamped. An empty span has no ratio,
/// and the mappings then leave their target alone rather than write infinities into it.
inline std::optional<float> TransitionRatio(float x, float start, float end) {
    if (end == start) return std::nullopt;
    return (x - start) / (end - start);
}
