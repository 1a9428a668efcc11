#include <gtest/gtest.h>

#include <cmath>

#include "services/graphics/CameraMath.h"
#include "services/graphics/Input.h"
#include "services/graphics/SystemCamera.h"

using graphics::CameraView;

namespace {

glm::vec2 Project(const glm::mat4& m, const glm::vec3& p) {
    const glm::vec4 clip = m * glm::vec4(p, 1.0f);
    return glm::vec2(clip) / clip.w;
}

void ExpectNear(const glm::vec2& a, const glm::vec2& b, float eps = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
}

}  // namespace

TEST(CameraMath, OrthographicMapsViewHeightToThePictureAndIgnoresDepth) {
    ComponentCamera component;
    component.viewHeight = 8.0f;
    const CameraView camera = graphics::MakeCameraView(component, {3, 1, 7}, {0, 0, 0});
    const glm::mat4 m = graphics::ViewProjection(camera, 2.0f);
    ExpectNear(Project(m, {3, 1, 0}), {0, 0});
    ExpectNear(Project(m, {3, 5, 0}), {0, 1});
    ExpectNear(Project(m, {-5, -3, 0}), {-1, -1});
    // Depth never clips an orthographic sprite.
    const glm::vec4 far = m * glm::vec4(3, 1, 5000, 1);
    EXPECT_FLOAT_EQ(far.z, 0.0f);
}

TEST(CameraMath, OrthographicRollAndCursorAreInverses) {
    CameraView camera;
    camera.position = {10, -2, 0};
    camera.rotation.z = 0.7f;
    camera.viewHeight = 6.0f;
    const float aspect = 16.0f / 9.0f;
    const glm::mat4 m = graphics::ViewProjection(camera, aspect);
    for (const glm::vec2 ndc : {glm::vec2(0, 0), glm::vec2(0.5f, -0.25f), glm::vec2(-1, 1)}) {
        const glm::vec2 world = graphics::WorldAtNdc(camera, aspect, ndc);
        ExpectNear(Project(m, glm::vec3(world, 0)), ndc);
    }
    // A quarter turn: the picture's up is the world's -x.
    camera.rotation.z = 1.5707963f;
    ExpectNear(graphics::WorldAtNdc(camera, aspect, {0, 1}), {10 - 3, -2});
}

TEST(CameraMath, PerspectiveCursorLandsOnThePlaneOfZeroDepth) {
    ComponentCameraPerspective component;
    component.fieldOfView = 90.0f;
    const CameraView camera = graphics::MakeCameraView(component, {2, 3, 5}, {0, 0, 0});
    // At distance 5 with 90 degrees the picture is 10 units high.
    EXPECT_NEAR(graphics::WorldHeight(camera), 10.0f, 1e-4f);
    ExpectNear(graphics::WorldAtNdc(camera, 1.0f, {0, 0}), {2, 3});
    ExpectNear(graphics::WorldAtNdc(camera, 1.0f, {1, 1}), {7, 8});
    const glm::mat4 m = graphics::ViewProjection(camera, 1.0f);
    ExpectNear(Project(m, {7, 8, 0}), {1, 1});
    // Nearer sprites look bigger: a point 1 unit up at depth 2.5 is further from the centre.
    EXPECT_GT(Project(m, {2, 4, 2.5f}).y, Project(m, {2, 4, 0}).y);
}

TEST(CameraMath, BadCameraSettingsFallBackToUsableOnes) {
    ComponentCamera flat;
    flat.viewHeight = 0.0f;
    EXPECT_GT(graphics::MakeCameraView(flat, {}, {}).viewHeight, 0.0f);
    ComponentCameraPerspective odd;
    odd.fieldOfView = 0.0f;
    odd.nearPlane = -1.0f;
    odd.farPlane = -5.0f;
    const CameraView view = graphics::MakeCameraView(odd, {}, {});
    EXPECT_GT(view.fieldOfView, 0.0f);
    EXPECT_GT(view.nearPlane, 0.0f);
    EXPECT_GT(view.farPlane, view.nearPlane);
}

TEST(CameraMath, CursorPlusOffsetIsTheWorldPointOfEachCamera) {
    CameraView main;
    main.main = true;
    main.position = {30, 4, 0};
    main.viewHeight = 10.0f;
    CameraView hud;
    hud.name = "HUD";
    hud.viewHeight = 2.0f;
    hud.order = 1;
    const float aspect = 16.0f / 9.0f;
    const glm::vec2 ndc(0.5f, -0.5f);
    const graphics::CursorReport report = graphics::ComputeCursor({hud, main}, aspect, ndc);

    // Relative to the picture's centre in the main camera's units, x right and y up.
    ExpectNear(report.position, {0.5f * aspect * 5.0f, -2.5f});
    ASSERT_EQ(report.offsets.size(), 2u);
    EXPECT_EQ(report.offsets[0].camera, "");
    ExpectNear(report.offsets[0].offset, {30, 4});
    EXPECT_EQ(report.offsets[1].camera, "HUD");
    ExpectNear(report.position + report.offsets[1].offset, {0.5f * aspect, -0.5f});
}

TEST(CameraMath, CursorWithoutCamerasUsesTheDefaultView) {
    const graphics::CursorReport report = graphics::ComputeCursor({}, 1.0f, {1, 1});
    ExpectNear(report.position, {5, 5});
    ASSERT_EQ(report.offsets.size(), 1u);
    ExpectNear(report.offsets[0].offset, {0, 0});
}
