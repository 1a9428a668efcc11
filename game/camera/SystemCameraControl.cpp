#include "game/camera/SystemCameraControl.h"

#include <cmath>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageCursor.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "engine/TriggerNames.h"
#include "game/vocabulary/GameTriggers.h"

namespace {
constexpr float kRotatePerUnit = 0.125f;
}  // namespace

void from_json(const nlohmann::json& j, ComponentCameraControl& camera) {
    json_read::Key(j, "Left Bound", camera.LeftBound);
    json_read::Key(j, "Right Bound", camera.RightBound);
    json_read::Key(j, "Top Bound", camera.TopBound);
    json_read::Key(j, "Bottom Bound", camera.BottomBound);
    json_read::Key(j, "Freecam Speed", camera.FreecamSpeed);
    json_read::Key(j, "Shake", camera.Shake);
    json_read::Key(j, "Shake Trigger", camera.ShakeTrigger);
    json_read::Vec<2>(j, "Shake Amplitude", camera.ShakeAmplitude);
    json_read::Vec<2>(j, "Shake Modulation Amplitude", camera.ShakeModulationAmplitude);
    json_read::Vec<2>(j, "Shake Frequency", camera.ShakeFrequency);
    json_read::Vec<2>(j, "Shake Modulation Frequency", camera.ShakeModulationFrequency);
    json_read::Key(j, "Hold On Death", camera.HoldOnDeath);
    json_read::Vec<2>(j, "Follow Offset", camera.FollowOffset);
    camera.BaseShakeAmplitude = camera.ShakeAmplitude;
    camera.BaseShakeModulationAmplitude = camera.ShakeModulationAmplitude;
}

glm::vec2 SystemCameraControl::ShakeOffset(const ComponentCameraControl& camera, float t) {
    glm::vec2 offset;
    for (int a = 0; a < 2; ++a) {
        offset[a] = camera.ShakeAmplitude[a] *
                    std::sin(std::sin(t * camera.ShakeModulationFrequency[a]) * t *
                             camera.ShakeFrequency[a] * camera.ShakeModulationAmplitude[a]);
    }
    return offset;
}

bool SystemCameraControl::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update: {
            const float dt = static_cast<const MessageUpdate&>(message).dt;
            for (auto& [entity, camera] : components) {
                if (camera.Shake) camera.shakeTime += dt;
            }
            return false;
        }
        case MessageId::Key:
            OnKey(message);
            return false;
        case MessageId::CursorPosition: {
            const glm::vec2 cursor = static_cast<const MessageCursorPosition&>(message).position;
            for (auto& [entity, camera] : components) {
                if (camera.freecam) Move(entity, camera, cursor);
            }
            return false;
        }
        case MessageId::Scroll: {
            const glm::vec2 scroll = static_cast<const MessageScroll&>(message).offset;
            for (auto& [entity, camera] : components) {
                if (camera.freecam) Zoom(entity, scroll);
            }
            return false;
        }
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (trigger.name == trigger::DeathWall && trigger.value) {
                for (auto& [entity, camera] : components) camera.Shake = true;
            } else if (trigger.name == trigger::KillPlayer && trigger.value) {
                for (auto& [entity, camera] : components) camera.holding = camera.HoldOnDeath;
            } else if (trigger.name == trigger::CheckpointRestore) {
                for (auto& [entity, camera] : components) camera.holding = false;
            }
            return false;
        }
        case MessageId::ListenerPosition: {
            const glm::vec3 position =
                static_cast<const MessageListenerPosition&>(message).position;
            for (auto& [entity, camera] : components) {
                if (!camera.freecam && !camera.holding) Follow(entity, camera, position);
            }
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemCameraControl::OnKey(const Message& message) {
    auto& key = static_cast<const MessageKey&>(message);
    const bool pressed = key.action == MessageKey::kPressed;
    const bool released = key.action == MessageKey::kReleased;
    for (auto& [entity, camera] : components) {
        if (key.key == keycode::C && pressed && key.mods == MessageKey::kModControl) {
            camera.freecam = !camera.freecam;
        } else if (key.key == MessageKey::kMouseFirst && (pressed || released)) {
            camera.panHeld = pressed;
            if (pressed) {
                auto& c = camera;
                SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
                    c.pressTranslation = {t.translation.x, t.translation.y};
                }));
            }
        } else if (key.key == MessageKey::kMouseSecond && (pressed || released)) {
            camera.rotateHeld = pressed;
            if (pressed) {
                auto& c = camera;
                SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
                    c.pressRotation = {t.rotation.x, t.rotation.y};
                }));
            }
        }
    }
}

void SystemCameraControl::Follow(EntityId entity, ComponentCameraControl& camera,
                                 const glm::vec3& position) {
    SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
        float x = position.x + camera.FollowOffset.x;
        if (x < camera.LeftBound) {
            x = camera.LeftBound;
        } else if (x > camera.RightBound) {
            x = camera.RightBound;
        }
        float y = position.y + camera.FollowOffset.y;
        if (y < camera.BottomBound) {
            y = camera.BottomBound;
        } else if (y > camera.TopBound) {
            y = camera.TopBound;
        }
        t.translation.x = x;
        t.translation.y = y;
        if (camera.Shake) {
            const glm::vec2 offset = ShakeOffset(camera, camera.shakeTime);
            t.translation.x += offset.x;
            t.translation.y += offset.y;
        }
    }));
}

void SystemCameraControl::Move(EntityId entity, ComponentCameraControl& camera,
                               const glm::vec2& cursor) {
    if (camera.panHeld) {
        SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
            t.translation.x = camera.pressTranslation.x + (camera.pressCursor.x - cursor.x);
            t.translation.y = camera.pressTranslation.y + (camera.pressCursor.y - cursor.y);
        }));
    } else if (camera.rotateHeld) {
        SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
            t.rotation.y =
                camera.pressRotation.y - (camera.pressCursor.x - cursor.x) * kRotatePerUnit;
            t.rotation.x =
                camera.pressRotation.x - (camera.pressCursor.y - cursor.y) * kRotatePerUnit;
        }));
    } else {
        camera.pressCursor = cursor;
    }
}

void SystemCameraControl::Zoom(EntityId entity, const glm::vec2& scroll) {
    SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
        t.scale.x -= scroll.y;
        t.scale.y -= scroll.y;
    }));
}
