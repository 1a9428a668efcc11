#pragma once

#include <string>
#include <string_view>

#include <glm/vec2.hpp>
#include <nlohmann/json.hpp>

#include "engine/System.h"

/// Keeps the camera entity on the listener inside the level's bounds, shakes it once the death
/// wall runs, and offers a debug free camera (Control+C) panned, rotated and zoomed by mouse.
struct ComponentCameraControl {
    static constexpr std::string_view kName = "Camera Controller";

    float LeftBound = 0.0f;
    float RightBound = 0.0f;
    float TopBound = 0.0f;
    float BottomBound = 0.0f;
    /// Kept for content; nothing depends on it.
    float FreecamSpeed = 16.0f;
    bool Shake = false;
    /// Kept for content; nothing depends on it.
    std::string ShakeTrigger;
    glm::vec2 ShakeAmplitude{0.0f};
    glm::vec2 ShakeModulationAmplitude{0.0f};
    glm::vec2 ShakeFrequency{0.0f};
    glm::vec2 ShakeModulationFrequency{0.0f};
    /// After the player is killed the camera stays where it was, rather than following the
    /// thrown body, until the checkpoint is restored.
    bool HoldOnDeath = false;
    /// Added to the player's position before the bounds: a negative y keeps the player above
    /// the middle of the view, so what lies below a high platform stays in sight.
    glm::vec2 FollowOffset{0.0f};

    /// The amplitudes as read; the death wall rescales the live ones from these.
    glm::vec2 BaseShakeAmplitude{0.0f};
    glm::vec2 BaseShakeModulationAmplitude{0.0f};
    bool freecam = false;
    bool panHeld = false;
    bool rotateHeld = false;
    glm::vec2 pressTranslation{0.0f};
    /// The last cursor position seen while no button was held.
    glm::vec2 pressCursor{0.0f};
    glm::vec2 pressRotation{0.0f};
    float shakeTime = 0.0f;
    /// Holding still for a death (HoldOnDeath).
    bool holding = false;
};

void from_json(const nlohmann::json& j, ComponentCameraControl& camera);

class SystemCameraControl : public System<ComponentCameraControl, SystemCameraControl> {
public:
    bool HandleMessage(const Message& message) override;

    /// The shake displacement after `time` seconds of shaking.
    static glm::vec2 ShakeOffset(const ComponentCameraControl& camera, float time);

private:
    void OnKey(const Message& message);
    void Follow(EntityId entity, ComponentCameraControl& camera, const glm::vec3& position);
    void Move(EntityId entity, ComponentCameraControl& camera, const glm::vec2& cursor);
    void Zoom(EntityId entity, const glm::vec2& scroll);
};
