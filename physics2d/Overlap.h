#pragma once

#include <cmath>

#include <glm/vec2.hpp>

/// The pair tests shared by the collision systems and the tile-map system. Shapes are 2D and
/// axis-aligned; positions are world x, y.
namespace overlap {

/// Box A (centre a, half-extents sizeA) against box B. Boxes that only touch do not overlap.
/// With overlap, penA and penB get the signed distance each box must move along each axis to
/// stop overlapping (positive towards +x / +y; exact opposites); without, both get (0, 0).
inline bool Boxes(glm::vec2 a, glm::vec2 sizeA, glm::vec2 b, glm::vec2 sizeB, glm::vec2& penA,
                  glm::vec2& penB) {
    if (!(std::abs(a.x - b.x) < sizeA.x + sizeB.x && std::abs(a.y - b.y) < sizeA.y + sizeB.y)) {
        penA = {0.0f, 0.0f};
        penB = {0.0f, 0.0f};
        return false;
    }
    for (int axis = 0; axis < 2; ++axis) {
        // Equal centres push A towards - and B towards +.
        if (a[axis] > b[axis]) {
            penA[axis] = (b[axis] + sizeB[axis]) - (a[axis] - sizeA[axis]);
            penB[axis] = (a[axis] - sizeA[axis]) - (b[axis] + sizeB[axis]);
        } else {
            penA[axis] = (b[axis] - sizeB[axis]) - (a[axis] + sizeA[axis]);
            penB[axis] = (a[axis] + sizeA[axis]) - (b[axis] - sizeB[axis]);
        }
    }
    return true;
}

/// Circle of radius r at centre c against a box of half-extents h at centre b. Touching
/// counts as contact.
inline bool CircleBox(glm::vec2 c, float r, glm::vec2 b, glm::vec2 h) {
    const float dx = std::abs(c.x - b.x);
    const float dy = std::abs(c.y - b.y);
    if (dx > r + h.x || dy > h.y + r) return false;
    // The centre lies within the box's extended sides.
    if (dx <= h.x || dy <= h.y) return true;
    const float cx = dx - h.x;
    const float cy = dy - h.y;
    return cx * cx + cy * cy <= r * r;
}

/// Circles of radii ra, rb at a, b. Touching counts as contact.
inline bool Circles(glm::vec2 a, float ra, glm::vec2 b, float rb) {
    const float reach = ra + rb;
    const glm::vec2 d = a - b;
    return reach * reach >= d.x * d.x + d.y * d.y;
}

}  // namespace overlap
