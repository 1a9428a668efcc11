#pragma once

#include <string>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace graphics {

/// One camera as the renderer sees it for one frame.
struct CameraView {
    enum class Kind { Orthographic, Perspective };

    std::string name;
    Kind kind = Kind::Orthographic;
    bool main = false;
    /// Cameras draw in ascending order; ties keep the order the cameras arrived in.
    int order = 0;
    /// World position of the camera; an orthographic camera looks at (x, y).
    glm::vec3 position{0.0f};
    /// Radians. Orthographic cameras use only z (roll); perspective cameras all three.
    glm::vec3 rotation{0.0f};
    /// Orthographic: world units from the bottom to the top of the picture.
    float viewHeight = 10.0f;
    /// Perspective: vertical field of view in radians, near and far planes.
    float fieldOfView = 0.785398f;
    float nearPlane = 0.1f;
    float farPlane = 1000.0f;
};

/// The camera used when a state has none: centred on the origin, ten units high.
CameraView DefaultCamera();

/// World to clip space. Orthographic projection flattens z to 0 so that no sprite is clipped
/// by its depth; the renderer orders sprites itself.
glm::mat4 ViewProjection(const CameraView& camera, float aspect);

/// The world point under a picture point given in normalised device coordinates (-1..1, y up),
/// on the plane z = 0 for perspective cameras. A ray parallel to that plane yields the camera's
/// own x, y.
glm::vec2 WorldAtNdc(const CameraView& camera, float aspect, const glm::vec2& ndc);

/// World units covered by the picture's height at z = 0 as seen through `camera`.
float WorldHeight(const CameraView& camera);

}  // namespace graphics
