#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <nlohmann/json.hpp>

#include "engine/ComponentSprite.h"
#include "engine/System.h"
#include "engine/SystemTransform.h"
#include "services/ui/Font.h"

/// A piece of a menu: a named node of the UI tree with an optional panel texture and text.
/// Its rectangle is the entity's transform (translation the centre, scale the size). Its parent
/// in the tree is the nearest entity up the transform's parent chain that is an element too.
/// Keys are listed in docs/ui.md.
struct ComponentUIElement {
    static constexpr std::string_view kName = "UI Element";

    std::string name;
    bool visible = true;
    bool active = true;
    std::string camera = "UI";
    /// Empty: no panel, only text.
    std::string texture;
    glm::vec4 color{1.0f, 1.0f, 1.0f, 1.0f};
    glm::vec4 highlightColor{1.0f, 0.85f, 0.45f, 1.0f};
    glm::vec4 pressedColor{0.8f, 0.6f, 0.3f, 1.0f};
    std::string text;
    std::string font = "DejaVuSans";
    float textSize = 0.5f;
    glm::vec4 textColor{1.0f, 1.0f, 1.0f, 1.0f};
    /// "Center", "Left" (from the rectangle's left edge) or "Right".
    std::string textAlign = "Center";
    glm::vec2 textOffset{0.0f, 0.0f};
    int focusOrder = 0;
    bool defaultFocus = false;

    // Run-time state, kept by the UI systems.
    EntityId parentElement = 0;
    /// Visible, resp. active, together with every ancestor.
    bool shown = true;
    bool enabled = true;
    /// Set by the button and slider systems for their entities.
    bool focusable = false;
    bool focused = false;
    bool hovered = false;
    bool pressed = false;
    std::shared_ptr<const Font> fontData;

    /// Shown and enabled: what a button or slider needs to react.
    bool Usable() const { return shown && enabled; }
};

void from_json(const nlohmann::json& j, ComponentUIElement& element);

/// Keeps the UI tree: shows, hides, activates and deactivates elements by name
/// (MessageUIVisibleTrigger, MessageUIActiveTrigger), moves the keyboard focus among buttons and
/// sliders (Up/Down, W/S) and draws panels and text labels on MessageRender.
class SystemUIElement : public System<ComponentUIElement, SystemUIElement> {
public:
    bool HandleMessage(const Message& message) override;

    /// Depth added to an element's z for its text.
    static constexpr float kTextDepth = 0.01f;

    /// Recomputes parents, effective visibility and activity, and keeps the focus valid.
    void Refresh();
    /// Moves the focus to the next (+1) or previous (-1) usable focusable element.
    void MoveFocus(int direction);

private:
    bool AddFromJson(const Message& message);
    void SetByName(std::string_view name, bool visible, bool value);
    /// Usable focusable elements in focus order (order key, then top to bottom, left to right).
    std::vector<EntityId> FocusCandidates();
    void Render();

    /// Fonts by name, shared by every element (and state clone) that uses them.
    std::unordered_map<std::string, std::shared_ptr<const Font>> fonts;
    bool refreshDue = false;
};

/// Draws `text` (lines split at '\n') with `font`: one sprite per glyph, cells `size` high,
/// aligned in the rectangle (centre, size) as `align` says.
void DrawText(const SendCallback& send, const Font& font, std::string_view text,
              const ComponentSprite& style, const glm::vec3& centre, const glm::vec2& boxSize,
              float size, std::string_view align);
