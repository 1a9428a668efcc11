#include "services/graphics/Input.h"

#include <cmath>

#include "engine/MessageCursor.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"

namespace graphics {

bool DebugMode::OnKey(int key, int action) {
    if (key == kToggleKey) {
        if (action == MessageKey::kPressed) on = !on;
        return false;
    }
    return on;
}

int KeyCodeFromMouseButton(int button) {
    if (button < 0 || button > 7) return -1;
    return MessageKey::kMouseFirst + button;
}

void DispatchInput(const InputEvent& event, DebugMode& debug, const SendCallback& send) {
    switch (event.kind) {
        case InputEvent::Kind::Key:
        case InputEvent::Kind::MouseButton: {
            const int key = event.kind == InputEvent::Kind::Key
                                ? event.code
                                : KeyCodeFromMouseButton(event.code);
            if (event.kind == InputEvent::Kind::MouseButton && key < 0) return;
            const bool flag = debug.OnKey(key, event.action);
            send(MessageKey(key, event.action, event.mods, flag));
            return;
        }
        case InputEvent::Kind::Scroll:
            send(MessageScroll(event.offset));
            return;
        case InputEvent::Kind::Focus:
            send(MessageTrigger(trigger::WindowFocus, event.code != 0));
            return;
    }
}

Letterbox FitAspect(int surfaceWidth, int surfaceHeight, float aspect) {
    if (surfaceWidth <= 0 || surfaceHeight <= 0 || !(aspect > 0.0f)) return {};
    Letterbox box;
    const float surfaceAspect = static_cast<float>(surfaceWidth) / surfaceHeight;
    if (surfaceAspect > aspect) {
        box.height = surfaceHeight;
        box.width = static_cast<int>(std::lround(surfaceHeight * aspect));
    } else {
        box.width = surfaceWidth;
        box.height = static_cast<int>(std::lround(surfaceWidth / aspect));
    }
    box.x = (surfaceWidth - box.width) / 2;
    box.y = (surfaceHeight - box.height) / 2;
    return box;
}

glm::vec2 WindowToNdc(const glm::vec2& pixel, const Letterbox& picture) {
    if (picture.width <= 0 || picture.height <= 0) return {0.0f, 0.0f};
    const float x = (pixel.x - picture.x) / picture.width;
    const float y = (pixel.y - picture.y) / picture.height;
    return {x * 2.0f - 1.0f, 1.0f - y * 2.0f};
}

CursorReport ComputeCursor(const std::vector<CameraView>& cameras, float aspect,
                           const glm::vec2& ndc) {
    CursorReport report;
    const CameraView* main = nullptr;
    for (const CameraView& camera : cameras) {
        if (camera.main) {
            main = &camera;
            break;
        }
    }
    const CameraView fallback = DefaultCamera();
    if (!main) main = &fallback;
    const float halfHeight = WorldHeight(*main) * 0.5f;
    report.position = glm::vec2(ndc.x * aspect, ndc.y) * halfHeight;
    report.offsets.push_back({"", WorldAtNdc(*main, aspect, ndc) - report.position});
    for (const CameraView& camera : cameras) {
        if (&camera == main || camera.name.empty()) continue;
        report.offsets.push_back({camera.name, WorldAtNdc(camera, aspect, ndc) - report.position});
    }
    return report;
}

void SendCursor(const CursorReport& report, const SendCallback& send) {
    send(MessageCursorPosition(report.position));
    for (const auto& offset : report.offsets) {
        send(MessageCursorWorldPosition(offset.camera, offset.offset));
    }
}

}  // namespace graphics
