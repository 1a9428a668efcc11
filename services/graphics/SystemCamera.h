#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/System.h"
#include "services/graphics/CameraMath.h"

/// An orthographic camera at its entity's transform (x, y; rotation z rolls it). Sprites pick
/// a camera by "Name"; the empty sprite camera name means the main camera, which is the first
/// camera with "Main" set, else the first camera without a name, else a default one.
/// "Order" sorts cameras for drawing: everything seen by a camera of a lower order is drawn
/// first, so a HUD camera takes a higher order than the world's.
struct ComponentCamera {
    static constexpr std::string_view kName = "Camera";

    std::string name;
    /// World units from the bottom to the top of the picture.
    float viewHeight = 10.0f;
    bool main = false;
    int order = 0;
};

/// Reads "Name", "View Height", "Main" and "Order".
void from_json(const nlohmann::json& j, ComponentCamera& camera);

/// A perspective camera at its entity's transform, looking down -z; rotation x, y, z turn it.
/// Sprites at z = 0 fill "View Height"-like extents at the camera's distance.
struct ComponentCameraPerspective {
    static constexpr std::string_view kName = "Perspective Camera";

    std::string name;
    /// Vertical, in degrees.
    float fieldOfView = 45.0f;
    float nearPlane = 0.1f;
    float farPlane = 1000.0f;
    bool main = false;
    int order = 0;
};

/// Reads "Name", "Field Of View", "Near", "Far", "Main" and "Order".
void from_json(const nlohmann::json& j, ComponentCameraPerspective& camera);

namespace graphics {
/// The view a camera component gives at this transform.
CameraView MakeCameraView(const ComponentCamera& camera, const glm::vec3& translation,
                          const glm::vec3& rotation);
CameraView MakeCameraView(const ComponentCameraPerspective& camera, const glm::vec3& translation,
                          const glm::vec3& rotation);
}  // namespace graphics

/// Announces its cameras to the window on every MessageRender, in entity id order, and tells
/// MessageQueryViews what they see.
class SystemCamera : public System<ComponentCamera, SystemCamera> {
public:
    /// The picture's width over its height: the window letter-boxes to this ratio.
    static constexpr float kPictureAspect = 16.0f / 9.0f;

    bool HandleMessage(const Message& message) override;

private:
    std::vector<EntityId> announceOrder;
};

class SystemCameraPerspective : public System<ComponentCameraPerspective, SystemCameraPerspective> {
public:
    bool HandleMessage(const Message& message) override;

private:
    std::vector<EntityId> announceOrder;
};
