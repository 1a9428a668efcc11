#include "services/ui/SystemUIElement.h"

#include <algorithm>
#include <cmath>

#include "engine/JsonRead.h"
#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "services/ui/MessageUITrigger.h"

using json = nlohmann::json;

namespace {

constexpr int kKeyW = 87;
constexpr int kKeyS = 83;
constexpr int kKeyUp = 265;
constexpr int kKeyDown = 264;
// Parent chains longer than this are cycles in bad data.
constexpr int kMaxDepth = 64;

}  // namespace

void from_json(const json& j, ComponentUIElement& element) {
    json_read::Key(j, "Name", element.name);
    json_read::Key(j, "Visible", element.visible);
    json_read::Key(j, "Active", element.active);
    json_read::Key(j, "Camera", element.camera);
    json_read::Key(j, "Texture", element.texture);
    json_read::Vec<4>(j, "Color", element.color);
    json_read::Vec<4>(j, "Highlight Color", element.highlightColor);
    json_read::Vec<4>(j, "Pressed Color", element.pressedColor);
    json_read::Key(j, "Text", element.text);
    json_read::Key(j, "Font", element.font);
    json_read::Key(j, "Text Size", element.textSize);
    json_read::Vec<4>(j, "Text Color", element.textColor);
    json_read::Key(j, "Text Align", element.textAlign);
    json_read::Vec<2>(j, "Text Offset", element.textOffset);
    json_read::Key(j, "Focus Order", element.focusOrder);
    json_read::Key(j, "Default Focus", element.defaultFocus);
    if (element.textAlign != "Center" && element.textAlign != "Left" &&
        element.textAlign != "Right") {
        throw json::other_error::create(
            501, "\"Text Align\" must be \"Center\", \"Left\" or \"Right\"", &j);
    }
}

bool SystemUIElement::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::AddComponentJSON:
            return AddFromJson(message);
        case MessageId::EntityBirth:
            // Births arrive before this frame's update reaches the systems; by then every
            // system has seen them (buttons and sliders mark their elements focusable).
            if (components.count(static_cast<const MessageEntityBirth&>(message).entity)) {
                refreshDue = true;
            }
            return false;
        case MessageId::Update:
            if (refreshDue) Refresh();
            return false;
        case MessageId::UIActiveTrigger: {
            auto& trigger = static_cast<const MessageUIActiveTrigger&>(message);
            SetByName(trigger.name, false, trigger.value);
            return false;
        }
        case MessageId::UIVisibleTrigger: {
            auto& trigger = static_cast<const MessageUIVisibleTrigger&>(message);
            SetByName(trigger.name, true, trigger.value);
            return false;
        }
        case MessageId::Key: {
            auto& key = static_cast<const MessageKey&>(message);
            if (key.action == MessageKey::kReleased) return false;
            if (key.key == kKeyUp || key.key == kKeyW) MoveFocus(-1);
            if (key.key == kKeyDown || key.key == kKeyS) MoveFocus(+1);
            return false;
        }
        case MessageId::Render:
            Render();
            return false;
        case MessageId::DestroyEntity: {
            // Bullets and the like die all the time; only a menu's own losses need a refresh.
            const bool mine =
                components.count(static_cast<const MessageDestroyEntity&>(message).entity) != 0;
            const bool handled = System::HandleMessage(message);
            if (mine) Refresh();
            return handled;
        }
        default:
            return System::HandleMessage(message);
    }
}

bool SystemUIElement::AddFromJson(const Message& message) {
    auto& add = static_cast<const MessageAddComponentJSON&>(message);
    if (add.component != ComponentUIElement::kName) return false;
    json_read::RequireObject(add.json);
    ComponentUIElement element = add.json.get<ComponentUIElement>();
    // Fonts are read where the data enters, so a bad font fails the scene load, not a frame.
    if (!element.text.empty()) {
        auto& font = fonts[element.font];
        if (!font) font = LoadFont(element.font);
        element.fontData = font;
    }
    components[add.entity] = std::move(element);
    return true;
}

void SystemUIElement::SetByName(std::string_view name, bool visible, bool value) {
    bool any = false;
    for (auto& [entity, element] : components) {
        if (element.name != name) continue;
        (visible ? element.visible : element.active) = value;
        any = true;
    }
    if (any) Refresh();
}

void SystemUIElement::Refresh() {
    refreshDue = false;
    auto parentOf = [&](EntityId entity) {
        EntityId parent = 0;
        SendMessage(MessageQuery<ComponentTransform>(
            entity, [&](ComponentTransform& transform) { parent = transform.parent; }));
        return parent;
    };
    for (auto& [entity, element] : components) {
        EntityId parent = parentOf(entity);
        for (int depth = 0; parent != 0 && !components.count(parent) && depth < kMaxDepth;
             ++depth) {
            parent = parentOf(parent);
        }
        element.parentElement = components.count(parent) ? parent : 0;
    }
    for (auto& [entity, element] : components) {
        element.shown = element.visible;
        element.enabled = element.active;
        EntityId up = element.parentElement;
        for (int depth = 0; up != 0 && depth < kMaxDepth; ++depth) {
            const ComponentUIElement& ancestor = components.at(up);
            element.shown = element.shown && ancestor.visible;
            element.enabled = element.enabled && ancestor.active;
            up = ancestor.parentElement;
        }
        if (!element.Usable()) {
            element.focused = false;
            element.hovered = false;
            element.pressed = false;
        }
    }
    // Keep a valid focus; else hand it to a default element that just became usable.
    const std::vector<EntityId> candidates = FocusCandidates();
    for (EntityId id : candidates) {
        if (components.at(id).focused) return;
    }
    for (EntityId id : candidates) {
        if (components.at(id).defaultFocus) {
            components.at(id).focused = true;
            return;
        }
    }
}

std::vector<EntityId> SystemUIElement::FocusCandidates() {
    struct Candidate {
        EntityId entity;
        int order;
        glm::vec2 position;
    };
    std::vector<Candidate> found;
    for (auto& [entity, element] : components) {
        if (!element.focusable || !element.Usable()) continue;
        glm::vec2 position(0.0f);
        SendMessage(MessageQuery<ComponentTransform>(
            entity, [&](ComponentTransform& t) { position = glm::vec2(t.translation); }));
        found.push_back({entity, element.focusOrder, position});
    }
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        if (a.order != b.order) return a.order < b.order;
        if (a.position.y != b.position.y) return a.position.y > b.position.y;
        if (a.position.x != b.position.x) return a.position.x < b.position.x;
        return a.entity < b.entity;
    });
    std::vector<EntityId> ids;
    ids.reserve(found.size());
    for (const Candidate& c : found) ids.push_back(c.entity);
    return ids;
}

void SystemUIElement::MoveFocus(int direction) {
    const std::vector<EntityId> candidates = FocusCandidates();
    if (candidates.empty()) return;
    const int count = static_cast<int>(candidates.size());
    int next = direction > 0 ? 0 : count - 1;
    for (int i = 0; i < count; ++i) {
        if (components.at(candidates[static_cast<std::size_t>(i)]).focused) {
            next = (i + direction + count) % count;
            break;
        }
    }
    for (auto& [entity, element] : components) element.focused = false;
    components.at(candidates[static_cast<std::size_t>(next)]).focused = true;
}

void SystemUIElement::Render() {
    for (auto& [entity, element] : components) {
        if (!element.shown) continue;
        ComponentTransform world;
        bool placed = false;
        SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
            world = t;
            placed = true;
        }));
        if (!placed) continue;
        if (!element.texture.empty()) {
            ComponentSprite panel;
            panel.texture = element.texture;
            panel.camera = element.camera;
            panel.color = element.pressed                        ? element.pressedColor
                          : (element.focused || element.hovered) ? element.highlightColor
                                                                 : element.color;
            SendMessage(MessageSpriteRender(panel, world));
        }
        if (element.fontData && !element.text.empty()) {
            ComponentSprite style;
            style.texture = element.fontData->texture;
            style.camera = element.camera;
            style.color = element.textColor;
            style.dimensions = glm::vec2(element.fontData->columns, element.fontData->rows);
            const glm::vec3 centre = world.translation + glm::vec3(element.textOffset, kTextDepth);
            DrawText(SendMessage, *element.fontData, element.text, style, centre,
                     glm::vec2(world.scale), element.textSize, element.textAlign);
        }
    }
}

void DrawText(const SendCallback& send, const Font& font, std::string_view text,
              const ComponentSprite& style, const glm::vec3& centre, const glm::vec2& boxSize,
              float size, std::string_view align) {
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    ComponentSprite glyph = style;
    ComponentTransform quad;
    quad.scale = glm::vec3(size * font.cellAspect, size, 1.0f);
    quad.translation.z = centre.z;
    // The block of lines is centred vertically on the rectangle's centre.
    float lineY = centre.y + (static_cast<float>(lines) - 1.0f) * 0.5f * size;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(begin, end - begin);
        const float width = font.LineWidth(line) * size;
        float pen = centre.x - width * 0.5f;
        if (align == "Left") pen = centre.x - std::abs(boxSize.x) * 0.5f;
        if (align == "Right") pen = centre.x + std::abs(boxSize.x) * 0.5f - width;
        for (char ch : line) {
            const auto c = static_cast<unsigned char>(ch);
            if (c != ' ') {
                glyph.index = font.Cell(c);
                quad.translation.x = pen - font.padding * size + quad.scale.x * 0.5f;
                quad.translation.y = lineY;
                send(MessageSpriteRender(glyph, quad));
            }
            pen += font.Advance(c) * size;
        }
        lineY -= size;
        begin = end + 1;
    }
}
