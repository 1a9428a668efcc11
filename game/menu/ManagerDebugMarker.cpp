#include "game/menu/ManagerDebugMarker.h"

#include <iostream>

#include "engine/DataError.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "services/graphics/MessageCamera.h"
#include "services/ui/SystemUIElement.h"

namespace {

constexpr float kViewHeight = 10.0f;
// The picture is 16:9, so its right edge is 8.89 units from the centre.
constexpr float kRight = 8.75f;
constexpr float kTop = 4.85f;
constexpr float kTextSize = 0.36f;
constexpr float kWidth = 3.3f;
constexpr float kHeight = 0.5f;

}  // namespace

bool ManagerDebugMarker::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Key: {
            const auto& key = static_cast<const MessageKey&>(message);
            if (key.key == kToggleKey) {
                if (key.action == MessageKey::kPressed) on = !on;
            } else {
                on = key.debug;
            }
            return false;
        }
        case MessageId::Render:
            if (on) Draw();
            return false;
        default:
            return false;
    }
}

void ManagerDebugMarker::Draw() {
    graphics::CameraView view;
    view.name = kCamera;
    view.order = 1001;
    view.viewHeight = kViewHeight;
    SendMessage(graphics::MessageCamera(view));

    const glm::vec2 centre(kRight - kWidth * 0.5f, kTop - kHeight * 0.5f);
    ComponentSprite panel;
    panel.camera = kCamera;
    panel.color = {0.75f, 0.1f, 0.1f, 0.85f};
    ComponentTransform box;
    box.translation = {centre, 0.0f};
    box.scale = {kWidth, kHeight, 1.0f};
    SendMessage(MessageSpriteRender(panel, box));

    if (!font && !fontFailed) {
        try {
            font = LoadFont("DejaVuSans");
        } catch (const DataError& e) {
            fontFailed = true;
            std::cerr << "Halvex: debug marker without text: " << e.what() << "\n";
        }
    }
    if (!font) return;
    ComponentSprite style;
    style.texture = font->texture;
    style.camera = kCamera;
    style.dimensions = glm::vec2(font->columns, font->rows);
    DrawText(SendMessage, *font, "DEBUG MODE", style, {centre, 0.1f}, {kWidth, kHeight}, kTextSize,
             "Center");
}
