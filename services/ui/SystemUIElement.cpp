#include "services/ui/SystemUIElement.h"

#include <algorithm>
#include <cmath>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageSpriteRender.h"
#include "services/ui/MessageUITrigger.h"

using json = nlohmann::json;

namespace {

// Sideways distance counts this much more than distance along the way: Down from a button
// prefers the one below it to one further down but closer in a straight line.
constexpr float kSidewaysWeight = 2.0f;
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
    if (cursor.Handle(message)) return false;
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
            // A sub-menu's opener is given the focus back within the press that closed it.
            restoreFocus = 0;
            UpdateHover();
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
            // A key that moved the focus is used up: it must not also step the slider it
            // landed on.
            if (key.key == keycode::Up || key.key == keycode::W)
                return MoveFocusToward({0.0f, 1.0f});
            if (key.key == keycode::Down || key.key == keycode::S)
                return MoveFocusToward({0.0f, -1.0f});
            const bool left = key.key == keycode::Left || key.key == keycode::A;
            const bool right = key.key == keycode::Right || key.key == keycode::D;
            if (!left && !right) return false;
            for (auto& [entity, element] : components) {
                if (element.focused && element.Usable() && element.ownsHorizontalKeys) {
                    return false;
                }
            }
            return MoveFocusToward({right ? 1.0f : -1.0f, 0.0f});
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
    bool opening = false;
    for (auto& [entity, element] : components) {
        if (element.name != name) continue;
        bool& flag = visible ? element.visible : element.active;
        opening = opening || (value && !flag);
        flag = value;
        any = true;
    }
    if (!any) return;
    EntityId focusedBefore = 0;
    for (auto& [entity, element] : components) {
        if (element.focused) focusedBefore = entity;
    }
    // A menu shown while the press is going back to a control in it is returned to, not opened.
    if (opening && visible && !(restoreFocus != 0 && Inside(restoreFocus, name))) {
        // The control pressed to open it had the focus, or had it last if an earlier action
        // of the same press hid it.
        openers[std::string(name)] = focusedBefore != 0 ? focusedBefore : lastFocused;
    }
    if (!value) {
        // Controls inside the menu closing opened nothing that outlives it.
        for (auto it = openers.begin(); it != openers.end();) {
            it = it->first != name && Inside(it->second, name) ? openers.erase(it) : std::next(it);
        }
        auto opener = openers.find(std::string(name));
        if (opener != openers.end() && focusedBefore != 0 && Inside(focusedBefore, name)) {
            restoreFocus = opener->second;
        }
    }
    Refresh();
}

bool SystemUIElement::Inside(EntityId entity, std::string_view name) const {
    for (int depth = 0; entity != 0 && depth < kMaxDepth; ++depth) {
        auto it = components.find(entity);
        if (it == components.end()) return false;
        if (it->second.name == name) return true;
        entity = it->second.parentElement;
    }
    return false;
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
            if (element.focused) lastFocused = entity;
            element.focused = false;
            element.hovered = false;
            element.pressed = false;
        }
    }
    // Keep a valid focus; else give it back to the opener of a menu that just closed, or to a
    // default element that just became usable.
    const std::vector<Candidate> candidates = FocusCandidates();
    for (const Candidate& c : candidates) {
        if (components.at(c.entity).focused) return;
    }
    for (const Candidate& c : candidates) {
        if (c.entity == restoreFocus) {
            Focus(c.entity);
            return;
        }
    }
    for (const Candidate& c : candidates) {
        if (components.at(c.entity).defaultFocus) {
            Focus(c.entity);
            return;
        }
    }
}

void SystemUIElement::Focus(EntityId target) {
    for (auto& [entity, element] : components) element.focused = entity == target;
    if (target != 0) {
        lastFocused = target;
        restoreFocus = 0;
    }
}

EntityId SystemUIElement::UnderCursor() {
    if (!cursor.Known()) return 0;
    EntityId best = 0;
    float bestDepth = 0.0f;
    for (auto& [entity, element] : components) {
        if (!element.focusable || !element.Usable()) continue;
        const glm::vec2 point = cursor.In(element.camera);
        const glm::vec2 margin = element.hitMargin;
        SendMessage(
            MessageQuery<ComponentTransform>(entity, [&, entity = entity](ComponentTransform& t) {
                const glm::vec2 size(std::abs(t.scale.x) + margin.x,
                                     std::max(std::abs(t.scale.y), margin.y));
                if (!InsideRect(point, glm::vec2(t.translation), size)) return;
                if (best == 0 || t.translation.z > bestDepth) {
                    best = entity;
                    bestDepth = t.translation.z;
                }
            }));
    }
    return best;
}

void SystemUIElement::UpdateHover() {
    const EntityId under = UnderCursor();
    // The first position this state hears is where the mouse rests, not a move.
    const bool moved = cursorSeen && cursor.Position() != lastCursor;
    cursorSeen = cursor.Known();
    lastCursor = cursor.Position();
    for (auto& [entity, element] : components) element.hovered = entity == under;
    // One focus: the control the mouse moves onto takes it. A menu that opens under a resting
    // mouse keeps its default focus.
    if (moved && under != 0 && !components.at(under).focused) {
        Focus(under);
        SendMessage(MessageAudioEvent(kMoveSound, glm::vec3(0.0f), glm::vec3(0.0f)));
    }
}

std::vector<SystemUIElement::Candidate> SystemUIElement::FocusCandidates() {
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
    return found;
}

bool SystemUIElement::MoveFocus(int direction) {
    const std::vector<Candidate> candidates = FocusCandidates();
    if (candidates.empty()) return false;
    const int count = static_cast<int>(candidates.size());
    int next = direction > 0 ? 0 : count - 1;
    for (int i = 0; i < count; ++i) {
        if (components.at(candidates[static_cast<std::size_t>(i)].entity).focused) {
            next = (i + direction + count) % count;
            break;
        }
    }
    const EntityId target = candidates[static_cast<std::size_t>(next)].entity;
    if (components.at(target).focused) return false;
    Focus(target);
    SendMessage(MessageAudioEvent(kMoveSound, glm::vec3(0.0f), glm::vec3(0.0f)));
    return true;
}

bool SystemUIElement::MoveFocusToward(glm::vec2 direction) {
    const std::vector<Candidate> candidates = FocusCandidates();
    const Candidate* from = nullptr;
    for (const Candidate& c : candidates) {
        if (components.at(c.entity).focused) from = &c;
    }
    const bool vertical = direction.y != 0.0f;
    if (!from) {
        // Nothing focused yet: down and right start at the first, up and left at the last.
        return MoveFocus(direction.y < 0.0f || direction.x > 0.0f ? +1 : -1);
    }
    const Candidate* best = nullptr;
    float bestScore = 0.0f;
    for (const Candidate& c : candidates) {
        if (&c == from) continue;
        const glm::vec2 offset = c.position - from->position;
        const float along = offset.x * direction.x + offset.y * direction.y;
        const float sideways = std::abs(offset.x * direction.y - offset.y * direction.x);
        // Menus are mostly columns: up and down reach anything above or below but far aside,
        // left and right only what lies on about the same row.
        const float reach = vertical ? 2.0f * along : 0.5f * along;
        if (along <= 0.05f || sideways > reach) continue;
        const float score = along + kSidewaysWeight * sideways;
        if (!best || score < bestScore) {
            best = &c;
            bestScore = score;
        }
    }
    if (best) {
        Focus(best->entity);
        SendMessage(MessageAudioEvent(kMoveSound, glm::vec3(0.0f), glm::vec3(0.0f)));
        return true;
    }
    // Off the end of a column, or side-by-side controls: go round in focus order.
    if (vertical) return MoveFocus(direction.y < 0.0f ? +1 : -1);
    return false;
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
            // Only the focus is lit: the mouse lights a control by taking the focus.
            panel.color = element.pressed   ? element.pressedColor
                          : element.focused ? element.highlightColor
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
