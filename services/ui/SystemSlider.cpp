#include "services/ui/SystemSlider.h"

#include <algorithm>
#include <cmath>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "engine/SystemTransform.h"
#include "services/ui/SystemUIElement.h"

using json = nlohmann::json;

namespace {}  // namespace

float ComponentSlider::Fraction() const {
    const float range = maximum - minimum;
    return range > 0.0f ? std::clamp((value - minimum) / range, 0.0f, 1.0f) : 0.0f;
}

void from_json(const json& j, ComponentSlider& slider) {
    json_read::Key(j, "Bus", slider.bus);
    json_read::Key(j, "Min", slider.minimum);
    json_read::Key(j, "Max", slider.maximum);
    json_read::Key(j, "Step", slider.step);
    json_read::Key(j, "Value", slider.value);
    json_read::Key(j, "Knob Texture", slider.knobTexture);
    json_read::Vec<2>(j, "Knob Size", slider.knobSize);
    json_read::Vec<4>(j, "Knob Color", slider.knobColor);
    json_read::Vec<4>(j, "Knob Highlight Color", slider.knobHighlightColor);
    json_read::Vec<4>(j, "Fill Color", slider.fillColor);
    json_read::Key(j, "Value Text Size", slider.valueTextSize);
    if (!std::isfinite(slider.valueTextSize) || slider.valueTextSize < 0.0f) {
        throw json::other_error::create(501, "\"Value Text Size\" must be 0 or more", &j);
    }
    if (!(slider.maximum > slider.minimum) || !std::isfinite(slider.maximum) ||
        !std::isfinite(slider.minimum)) {
        throw json::other_error::create(501, "\"Max\" must be above \"Min\"", &j);
    }
    if (!(slider.step > 0.0f) || !std::isfinite(slider.step)) {
        throw json::other_error::create(501, "\"Step\" must be above 0", &j);
    }
    slider.value = std::clamp(std::isfinite(slider.value) ? slider.value : slider.maximum,
                              slider.minimum, slider.maximum);
}

bool SystemSlider::HandleMessage(const Message& message) {
    if (cursor.Handle(message)) {
        if (message.TypeId() == MessageId::CursorPosition) Drag();
        return false;
    }
    switch (message.TypeId()) {
        case MessageId::EntityBirth:
            OnBirth(static_cast<const MessageEntityBirth&>(message).entity);
            return false;
        case MessageId::Key: {
            auto& key = static_cast<const MessageKey&>(message);
            OnKey(key.key, key.action);
            return false;
        }
        case MessageId::Update:
            // Offsets of the cursor arrive after its position; follow them once per frame too.
            Drag();
            return false;
        case MessageId::Render:
            Render();
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemSlider::OnBirth(EntityId entity) {
    auto it = components.find(entity);
    if (it == components.end()) return;
    const glm::vec2 knob = it->second.knobSize;
    std::string font;
    SendMessage(MessageQuery<ComponentUIElement>(entity, [&](ComponentUIElement& element) {
        element.focusable = true;
        element.ownsHorizontalKeys = true;
        element.hitMargin = glm::abs(knob);
        font = element.font;
    }));
    if (it->second.valueTextSize > 0.0f && !font.empty() && !fonts.count(font)) {
        fonts[font] = LoadFont(font);
    }
    it = components.find(entity);
    if (it == components.end()) return;
    const std::string bus = it->second.bus;
    float answer = 0.0f;
    bool answered = false;
    const std::function<void(float)> callback = [&](float volume) {
        answer = volume;
        answered = true;
    };
    SendMessage(MessageQueryBusVolume(bus, callback));
    it = components.find(entity);
    if (answered && it != components.end() && std::isfinite(answer)) {
        it->second.value = std::clamp(answer, it->second.minimum, it->second.maximum);
    }
}

void SystemSlider::SetValue(EntityId entity, float value) {
    auto it = components.find(entity);
    if (it == components.end() || !std::isfinite(value)) return;
    ComponentSlider& slider = it->second;
    value = std::clamp(value, slider.minimum, slider.maximum);
    if (value == slider.value) return;
    slider.value = value;
    const std::string bus = slider.bus;
    SendMessage(MessageSetBusVolume(bus, value));
}

void SystemSlider::OnKey(int key, int action) {
    if (key == MessageKey::kMouseFirst) {
        for (auto& [entity, slider] : components) slider.dragging = false;
        if (action != MessageKey::kPressed || !cursor.Known()) return;
        // Grab the topmost usable slider whose track or knob is under the cursor.
        EntityId best = 0;
        float bestDepth = 0.0f;
        for (auto& [entity, slider] : components) {
            bool usable = false;
            std::string camera;
            SendMessage(MessageQuery<ComponentUIElement>(entity, [&](ComponentUIElement& e) {
                usable = e.Usable();
                camera = e.camera;
            }));
            if (!usable) continue;
            const glm::vec2 knob = slider.knobSize;
            SendMessage(MessageQuery<ComponentTransform>(
                entity, [&, entity = entity](ComponentTransform& t) {
                    const glm::vec2 size(std::abs(t.scale.x) + std::abs(knob.x),
                                         std::max(std::abs(t.scale.y), std::abs(knob.y)));
                    if (!InsideRect(cursor.In(camera), glm::vec2(t.translation), size)) return;
                    if (best == 0 || t.translation.z > bestDepth) {
                        best = entity;
                        bestDepth = t.translation.z;
                    }
                }));
        }
        if (best != 0) {
            components.at(best).dragging = true;
            // The slider held has the one focus.
            SendMessage(MessageQueryContainer<ComponentUIElement>(
                [best](std::unordered_map<EntityId, ComponentUIElement>& elements) {
                    for (auto& [entity, element] : elements) element.focused = entity == best;
                }));
            Drag();
        }
        return;
    }
    if (action == MessageKey::kReleased) return;
    int direction = 0;
    if (key == keycode::Left || key == keycode::A) direction = -1;
    if (key == keycode::Right || key == keycode::D) direction = +1;
    if (direction == 0) return;
    EntityId focused = 0;
    for (auto& [entity, slider] : components) {
        SendMessage(
            MessageQuery<ComponentUIElement>(entity, [&, entity = entity](ComponentUIElement& e) {
                if (e.focused && e.Usable()) focused = entity;
            }));
    }
    if (focused == 0) return;
    const ComponentSlider& slider = components.at(focused);
    SetValue(focused, slider.value + static_cast<float>(direction) * slider.step);
}

void SystemSlider::Drag() {
    for (auto& [entity, slider] : components) {
        if (!slider.dragging) continue;
        bool usable = false;
        std::string camera;
        SendMessage(MessageQuery<ComponentUIElement>(entity, [&](ComponentUIElement& e) {
            usable = e.Usable();
            camera = e.camera;
        }));
        if (!usable) {
            slider.dragging = false;
            continue;
        }
        float fraction = -1.0f;
        SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
            const float width = std::abs(t.scale.x);
            if (width <= 0.0f) return;
            const float left = t.translation.x - width * 0.5f;
            fraction = std::clamp((cursor.In(camera).x - left) / width, 0.0f, 1.0f);
        }));
        if (fraction < 0.0f) continue;
        // SetValue may send; the entry is looked up again there.
        const float value = slider.minimum + fraction * (slider.maximum - slider.minimum);
        SetValue(entity, value);
    }
}

void SystemSlider::Render() {
    for (auto& [entity, slider] : components) {
        bool shown = false;
        bool highlighted = false;
        ComponentUIElement look;
        SendMessage(
            MessageQuery<ComponentUIElement>(entity, [&, &slider = slider](ComponentUIElement& e) {
                shown = e.shown;
                highlighted = e.focused || slider.dragging;
                look.camera = e.camera;
                look.texture = e.texture;
                look.font = e.font;
                look.textColor = e.textColor;
            }));
        if (!shown) continue;
        ComponentTransform track;
        bool placed = false;
        SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
            track = t;
            placed = true;
        }));
        if (!placed) continue;
        const float width = std::abs(track.scale.x);
        const float left = track.translation.x - width * 0.5f;
        const float fraction = slider.Fraction();
        if (!look.texture.empty() && fraction > 0.0f) {
            ComponentTransform fill;
            fill.translation = glm::vec3(left + fraction * width * 0.5f, track.translation.y,
                                         track.translation.z + kFillDepth);
            fill.scale = glm::vec3(fraction * width, track.scale.y, 1.0f);
            ComponentSprite sprite;
            sprite.texture = look.texture;
            sprite.camera = look.camera;
            sprite.color = slider.fillColor;
            SendMessage(MessageSpriteRender(sprite, fill));
        }
        if (!slider.knobTexture.empty()) {
            ComponentTransform knob;
            knob.translation = glm::vec3(left + fraction * width, track.translation.y,
                                         track.translation.z + kKnobDepth);
            knob.scale = glm::vec3(slider.knobSize, 1.0f);
            ComponentSprite sprite;
            sprite.texture = slider.knobTexture;
            sprite.camera = look.camera;
            sprite.color = highlighted ? slider.knobHighlightColor : slider.knobColor;
            SendMessage(MessageSpriteRender(sprite, knob));
        }
        auto font = fonts.find(look.font);
        if (slider.valueTextSize > 0.0f && font != fonts.end()) {
            const std::string text = std::to_string(std::lround(fraction * 100.0f)) + "%";
            ComponentSprite style;
            style.texture = font->second->texture;
            style.camera = look.camera;
            style.color = look.textColor;
            style.dimensions = glm::vec2(font->second->columns, font->second->rows);
            // Left-aligned in a box that starts just past the knob's reach.
            const float boxWidth = slider.valueTextSize * 4.0f;
            const glm::vec3 centre(track.translation.x + width * 0.5f +
                                       std::abs(slider.knobSize.x) * 0.5f + kValueGap +
                                       boxWidth * 0.5f,
                                   track.translation.y, track.translation.z + kFillDepth);
            DrawText(SendMessage, *font->second, text, style, centre,
                     glm::vec2(boxWidth, slider.valueTextSize), slider.valueTextSize, "Left");
        }
    }
}
