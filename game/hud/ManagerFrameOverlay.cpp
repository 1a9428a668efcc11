#include "game/hud/ManagerFrameOverlay.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "engine/DataError.h"
#include "engine/KeyCodes.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "services/graphics/MessageCamera.h"
#include "services/ui/SystemUIElement.h"

namespace {

constexpr float kViewHeight = 10.0f;
constexpr float kLeft = -8.7f;
constexpr float kTop = 4.8f;
constexpr float kTextSize = 0.32f;
constexpr float kPanelWidth = 6.4f;
/// Graph rows: a bar of this many milliseconds fills the graph's height.
constexpr float kGraphMs = 33.3f;
constexpr float kGraphHeight = 1.2f;

std::string Format(const char* format, double a, double b = 0.0) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

/// The type name without the namespace and template noise a reader does not need.
std::string ShortName(const std::string& name) {
    const auto colon = name.rfind("::");
    std::string shortName = colon == std::string::npos ? name : name.substr(colon + 2);
    if (shortName.size() > 28) shortName.resize(28);
    return shortName;
}

void Quad(const SendCallback& send, const glm::vec4& color, const glm::vec2& centre,
          const glm::vec2& size, float z) {
    ComponentSprite sprite;
    sprite.camera = ManagerFrameOverlay::kCamera;
    sprite.color = color;
    ComponentTransform transform;
    transform.translation = {centre, z};
    transform.scale = {size, 1.0f};
    send(MessageSpriteRender(sprite, transform));
}

}  // namespace

ManagerFrameOverlay::ManagerFrameOverlay(ManagerState* states) : states(states) {}

ManagerFrameOverlay::~ManagerFrameOverlay() {
    if (FrameProfile::Active() == &profile) FrameProfile::SetActive(nullptr);
}

void ManagerFrameOverlay::Show(bool on) {
    if (on == shown) return;
    shown = on;
    frameTimes.clear();
    haveLastRender = false;
    if (on) {
        // A profile already running (a profiled replay) is read instead of replaced.
        if (!FrameProfile::Active()) FrameProfile::SetActive(&profile);
    } else if (FrameProfile::Active() == &profile) {
        FrameProfile::SetActive(nullptr);
    }
}

bool ManagerFrameOverlay::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Key: {
            const auto& key = static_cast<const MessageKey&>(message);
            if (key.action != MessageKey::kPressed) return false;
            if (key.debug && key.key == kToggleKey) {
                Show(!shown);
            } else if (!key.debug && key.key == keycode::Grave) {
                Show(false);
            }
            return false;
        }
        case MessageId::Render:
            if (shown) Draw();
            return false;
        default:
            return false;
    }
}

std::size_t ManagerFrameOverlay::EntityCount() const {
    if (!states || states->CurrentState().empty()) return 0;
    const std::string& name = states->CurrentState();
    if (!states->HasState(name)) return 0;
    return states->GetState(name).entities.entityNames.size();
}

void ManagerFrameOverlay::Draw() {
    const Clock::time_point now = Clock::now();
    if (haveLastRender) {
        frameTimes.push_back(std::chrono::duration<float, std::milli>(now - lastRender).count());
        if (frameTimes.size() > kGraphFrames) frameTimes.erase(frameTimes.begin());
    }
    lastRender = now;
    haveLastRender = true;

    // Frames per second over about the last second.
    float second = 0.0f;
    std::size_t counted = 0;
    for (auto it = frameTimes.rbegin(); it != frameTimes.rend() && second < 1000.0f; ++it) {
        second += *it;
        ++counted;
    }
    const double fps = second > 0.0f ? 1000.0 * static_cast<double>(counted) / second : 0.0;

    const FrameProfile* source = FrameProfile::Active();
    const long long messages =
        source && !source->Frames().empty() ? source->Frames().back().messages : 0;
    text = Format("FPS %.1f  frame %.2f ms", fps, frameTimes.empty() ? 0.0 : frameTimes.back());
    text +=
        "\nentities " + std::to_string(EntityCount()) + "  messages " + std::to_string(messages);
    if (source) {
        for (const auto& [name, ms] : source->RankedRecent(60, 5)) {
            text += Format("\n%.3f ms ", ms) + ShortName(name);
        }
    }

    graphics::CameraView view;
    view.name = kCamera;
    view.order = 1000;
    view.viewHeight = kViewHeight;
    SendMessage(graphics::MessageCamera(view));

    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    const float textHeight = static_cast<float>(lines) * kTextSize;
    const float panelHeight = textHeight + kGraphHeight + 0.4f;
    Quad(SendMessage, {0.0f, 0.0f, 0.0f, 0.7f},
         {kLeft + kPanelWidth * 0.5f, kTop - panelHeight * 0.5f}, {kPanelWidth, panelHeight}, 0.0f);

    // The graph: one bar per frame, newest on the right, a line at 60 frames a second.
    const float graphBottom = kTop - panelHeight + 0.15f;
    const float barWidth = (kPanelWidth - 0.2f) / static_cast<float>(kGraphFrames);
    for (std::size_t i = 0; i < frameTimes.size(); ++i) {
        const float h = std::min(frameTimes[i] / kGraphMs, 1.0f) * kGraphHeight;
        const float x =
            kLeft + 0.1f +
            (static_cast<float>(kGraphFrames - frameTimes.size() + i) + 0.5f) * barWidth;
        const glm::vec4 color = frameTimes[i] > 17.0f ? glm::vec4{1.0f, 0.35f, 0.2f, 1.0f}
                                                      : glm::vec4{0.3f, 0.9f, 0.4f, 1.0f};
        Quad(SendMessage, color, {x, graphBottom + h * 0.5f}, {barWidth, std::max(h, 0.01f)}, 0.1f);
    }
    Quad(SendMessage, {1.0f, 1.0f, 1.0f, 0.5f},
         {kLeft + kPanelWidth * 0.5f, graphBottom + 16.7f / kGraphMs * kGraphHeight},
         {kPanelWidth - 0.2f, 0.02f}, 0.15f);

    if (!font && !fontFailed) {
        try {
            font = LoadFont("DejaVuSans");
        } catch (const DataError& e) {
            fontFailed = true;
            std::cerr << "Halvex: frame overlay without text: " << e.what() << "\n";
        }
    }
    if (!font) return;
    ComponentSprite style;
    style.texture = font->texture;
    style.camera = kCamera;
    style.dimensions = glm::vec2(font->columns, font->rows);
    const glm::vec3 centre{kLeft + kPanelWidth * 0.5f, kTop - 0.2f - textHeight * 0.5f, 0.2f};
    DrawText(SendMessage, *font, text, style, centre, {kPanelWidth - 0.3f, textHeight}, kTextSize,
             "Left");
}
