#pragma once
// Helpers shared by the particle systems' sources; not part of the public API.

#include <climits>
#include <random>
#include <utility>

#include <glm/vec2.hpp>

#include "engine/ComponentSprite.h"

namespace particle_math {

/// Cells per sheet row: the sprite's first dimension as an int. A value below 1 (or not a
/// number) counts as 1, so a frame number never divides by zero and maps to a column of one.
inline int SheetColumns(const ComponentSprite& sprite) {
    const float columns = sprite.dimensions.x;
    if (!(columns >= 1.0f)) return 1;
    if (columns >= 2147483648.0f) return INT_MAX;
    return static_cast<int>(columns);
}

/// Frame number -> (column, row) on a sheet with `columns` cells per row (at least 1).
inline glm::ivec2 SheetCell(int frame, int columns) {
    return {frame % columns, frame / columns};
}

/// Fraction of its life a particle has lived; a particle without lifetime is at its end.
inline float LifeFraction(const glm::vec2& ageLifetime) {
    return ageLifetime.y > 0.0f ? ageLifetime.x / ageLifetime.y : 1.0f;
}

/// The standard uniform real draw over [a, b). Bounds in the wrong order are swapped instead
/// of breaking the distribution's precondition.
inline float Uniform(std::mt19937& generator, float a, float b) {
    if (b < a) std::swap(a, b);
    if (!(a <= b)) return a;  // a bound that is not a number has no range to draw from
    return std::uniform_real_distribution<float>(a, b)(generator);
}

/// The standard uniform integer draw over [a, b], bounds in either order.
inline int UniformInt(std::mt19937& generator, int a, int b) {
    if (b < a) std::swap(a, b);
    return std::uniform_int_distribution<int>(a, b)(generator);
}

}  // namespace particle_math
