#include "services/graphics/CameraMath.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace graphics {

CameraView DefaultCamera() {
    CameraView camera;
    camera.main = true;
    return camera;
}

namespace {

glm::mat4 PerspectiveView(const CameraView& camera) {
    glm::mat4 view(1.0f);
    view = glm::rotate(view, -camera.rotation.z, glm::vec3(0, 0, 1));
    view = glm::rotate(view, -camera.rotation.x, glm::vec3(1, 0, 0));
    view = glm::rotate(view, -camera.rotation.y, glm::vec3(0, 1, 0));
    return glm::translate(view, -camera.position);
}

}  // namespace

glm::mat4 ViewProjection(const CameraView& camera, float aspect) {
    if (camera.kind == CameraView::Kind::Perspective) {
        const glm::mat4 projection =
            glm::perspective(camera.fieldOfView, aspect, camera.nearPlane, camera.farPlane);
        return projection * PerspectiveView(camera);
    }
    const float halfHeight = camera.viewHeight * 0.5f;
    const float halfWidth = halfHeight * aspect;
    glm::mat4 projection(0.0f);
    projection[0][0] = 1.0f / halfWidth;
    projection[1][1] = 1.0f / halfHeight;
    projection[3][3] = 1.0f;
    glm::mat4 view = glm::rotate(glm::mat4(1.0f), -camera.rotation.z, glm::vec3(0, 0, 1));
    view = glm::translate(view, glm::vec3(-camera.position.x, -camera.position.y, 0.0f));
    return projection * view;
}

glm::vec2 WorldAtNdc(const CameraView& camera, float aspect, const glm::vec2& ndc) {
    if (camera.kind == CameraView::Kind::Perspective) {
        const glm::mat4 projection =
            glm::perspective(camera.fieldOfView, aspect, camera.nearPlane, camera.farPlane);
        const glm::mat4 inverse = glm::inverse(projection * PerspectiveView(camera));
        glm::vec4 nearPoint = inverse * glm::vec4(ndc, -1.0f, 1.0f);
        glm::vec4 farPoint = inverse * glm::vec4(ndc, 1.0f, 1.0f);
        const glm::vec3 a = glm::vec3(nearPoint) / nearPoint.w;
        const glm::vec3 b = glm::vec3(farPoint) / farPoint.w;
        const float dz = b.z - a.z;
        if (std::abs(dz) < 1e-6f) return {camera.position.x, camera.position.y};
        const float t = -a.z / dz;
        return glm::vec2(a + (b - a) * t);
    }
    const float halfHeight = camera.viewHeight * 0.5f;
    const glm::vec2 local(ndc.x * halfHeight * aspect, ndc.y * halfHeight);
    const float c = std::cos(camera.rotation.z);
    const float s = std::sin(camera.rotation.z);
    return glm::vec2(camera.position.x, camera.position.y) +
           glm::vec2(c * local.x - s * local.y, s * local.x + c * local.y);
}

float WorldHeight(const CameraView& camera) {
    if (camera.kind == CameraView::Kind::Perspective) {
        return 2.0f * std::abs(camera.position.z) * std::tan(camera.fieldOfView * 0.5f);
    }
    return camera.viewHeight;
}

}  // namespace graphics
