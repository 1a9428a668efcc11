#include "services/graphics/SystemCamera.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <glm/trigonometric.hpp>

#include "engine/JsonRead.h"
#include "engine/MessageComponent.h"
#include "engine/MessageViews.h"
#include "engine/SystemTransform.h"
#include "services/graphics/MessageCamera.h"

void from_json(const nlohmann::json& j, ComponentCamera& camera) {
    json_read::Key(j, "Name", camera.name);
    json_read::Key(j, "View Height", camera.viewHeight);
    json_read::Key(j, "Main", camera.main);
    json_read::Key(j, "Order", camera.order);
}

void from_json(const nlohmann::json& j, ComponentCameraPerspective& camera) {
    json_read::Key(j, "Name", camera.name);
    json_read::Key(j, "Field Of View", camera.fieldOfView);
    json_read::Key(j, "Near", camera.nearPlane);
    json_read::Key(j, "Far", camera.farPlane);
    json_read::Key(j, "Main", camera.main);
    json_read::Key(j, "Order", camera.order);
}

namespace graphics {

namespace {

/// What both kinds of camera share.
template <class Camera>
CameraView BaseView(const Camera& camera, CameraView::Kind kind, const glm::vec3& translation,
                    const glm::vec3& rotation) {
    CameraView view;
    view.name = camera.name;
    view.kind = kind;
    view.main = camera.main;
    view.order = camera.order;
    view.position = translation;
    view.rotation = rotation;
    return view;
}

}  // namespace

CameraView MakeCameraView(const ComponentCamera& camera, const glm::vec3& translation,
                          const glm::vec3& rotation) {
    CameraView view = BaseView(camera, CameraView::Kind::Orthographic, translation, rotation);
    // A zero or negative height would invert or collapse the picture.
    view.viewHeight = camera.viewHeight > 0.0f ? camera.viewHeight : 10.0f;
    return view;
}

CameraView MakeCameraView(const ComponentCameraPerspective& camera, const glm::vec3& translation,
                          const glm::vec3& rotation) {
    CameraView view = BaseView(camera, CameraView::Kind::Perspective, translation, rotation);
    const float degrees =
        camera.fieldOfView > 1.0f && camera.fieldOfView < 179.0f ? camera.fieldOfView : 45.0f;
    view.fieldOfView = glm::radians(degrees);
    view.nearPlane = camera.nearPlane > 0.0f ? camera.nearPlane : 0.1f;
    view.farPlane = camera.farPlane > view.nearPlane ? camera.farPlane : view.nearPlane * 10000.0f;
    return view;
}

}  // namespace graphics

namespace {

template <class C, class Table>
void Announce(const Table& components, std::vector<EntityId>& order, const SendCallback& send) {
    order.clear();
    for (const auto& [id, camera] : components) order.push_back(id);
    std::sort(order.begin(), order.end());
    for (EntityId id : order) {
        const C& camera = components.at(id);
        glm::vec3 translation(0.0f);
        glm::vec3 rotation(0.0f);
        const std::function<void(ComponentTransform&)> read = [&](ComponentTransform& t) {
            translation = t.translation;
            rotation = t.rotation;
        };
        send(MessageQuery<ComponentTransform>(id, read));
        send(graphics::MessageCamera(graphics::MakeCameraView(camera, translation, rotation)));
    }
}

/// The world rectangle an orthographic camera shows, widened to hold the whole picture when
/// the camera is rolled.
WorldRect OrthographicFootprint(const ComponentCamera& camera, const glm::vec3& translation,
                                float roll) {
    const float height = camera.viewHeight > 0.0f ? camera.viewHeight : 10.0f;
    const float halfH = 0.5f * height;
    const float halfW = halfH * SystemCamera::kPictureAspect;
    const float c = std::abs(std::cos(roll));
    const float s = std::abs(std::sin(roll));
    const glm::vec2 half{halfW * c + halfH * s, halfW * s + halfH * c};
    const glm::vec2 centre{translation.x, translation.y};
    return {centre - half, centre + half};
}

}  // namespace

bool SystemCamera::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::QueryViews) {
        const auto& query = static_cast<const MessageQueryViews&>(message);
        for (const auto& [id, camera] : components) {
            glm::vec3 translation(0.0f);
            float roll = 0.0f;
            const std::function<void(ComponentTransform&)> read = [&](ComponentTransform& t) {
                translation = t.translation;
                roll = t.rotation.z;
            };
            SendMessage(MessageQuery<ComponentTransform>(id, read));
            query.views.push_back(OrthographicFootprint(camera, translation, roll));
            query.answered = true;
        }
        return false;
    }
    if (message.TypeId() != MessageId::Render) return System::HandleMessage(message);
    Announce<ComponentCamera>(components, announceOrder, SendMessage);
    return false;
}

bool SystemCameraPerspective::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::QueryViews) {
        // Its footprint depends on each sprite's depth, so nothing can be left out.
        if (!components.empty()) {
            const auto& query = static_cast<const MessageQueryViews&>(message);
            query.answered = true;
            query.unbounded = true;
        }
        return false;
    }
    if (message.TypeId() != MessageId::Render) return System::HandleMessage(message);
    Announce<ComponentCameraPerspective>(components, announceOrder, SendMessage);
    return false;
}
