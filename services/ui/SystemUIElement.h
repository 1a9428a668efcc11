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
#include "services/ui/UICursor.h"

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
    /// Takes Left/Right (A/D) itself, so they do not move the focus away (sliders).
    bool ownsHorizontalKeys = false;
    /// Added to the rectangle's size when the cursor is tested against it (a slider's knob).
    glm::vec2 hitMargin{0.0f, 0.0f};
    bool focused = false;
    bool hovered = false;
    bool pressed = false;
    std::shared_ptr<const Font> fontData;

    /// Shown and enabled: what a button or slider needs to react.
    bool Usable() const { return shown && enabled; }
};

void from_json(const nlohmann::json& j, ComponentUIElement& element);

/// Keeps the UI tree: shows, hides, activates and deactivates elements by name
/// (MessageUIVisibleTrigger, MessageUIActiveTrigger), keeps the one focus among buttons and
/// sliders (the arrows and W/A/S/D move it the way the controls are laid out; the control the
/// mouse moves onto takes it) and draws panels and text labels on MessageRender.
class SystemUIElement : public System<ComponentUIElement, SystemUIElement> {
public:
    bool HandleMessage(const Message& message) override;

    /// Depth added to an element's z for its text.
    static constexpr float kTextDepth = 0.01f;
    /// Sound event played when the focus moves.
    static constexpr std::string_view kMoveSound = "SFX/UI Move";

    /// Recomputes parents, effective visibility and activity, and keeps the focus valid.
    void Refresh();
    /// Moves the focus to the next (+1) or previous (-1) usable focusable element in focus order;
    /// true if the focus moved.
    bool MoveFocus(int direction);
    /// Moves the focus to the nearest usable focusable element in `direction` (a unit step on
    /// the screen); up and down wrap around in focus order when nothing lies that way. True if
    /// the focus moved.
    bool MoveFocusToward(glm::vec2 direction);
    /// Gives the focus to `entity` alone (0: nobody has it).
    void Focus(EntityId entity);

private:
    struct Candidate {
        EntityId entity;
        int order;
        glm::vec2 position;
    };

    bool AddFromJson(const Message& message);
    void SetByName(std::string_view name, bool visible, bool value);
    /// Whether the element or one of its ancestors has this name.
    bool Inside(EntityId entity, std::string_view name) const;
    /// Usable focusable elements in focus order (order key, then top to bottom, left to right).
    std::vector<Candidate> FocusCandidates();
    /// The topmost usable focusable element under the cursor, 0 if none.
    EntityId UnderCursor();
    void UpdateHover();
    void Render();

    /// Fonts by name, shared by every element (and state clone) that uses them.
    std::unordered_map<std::string, std::shared_ptr<const Font>> fonts;
    bool refreshDue = false;
    UICursor cursor;
    glm::vec2 lastCursor{0.0f, 0.0f};
    bool cursorSeen = false;
    /// Which element had the focus when a menu of that name was shown: it gets the focus back
    /// when that menu closes.
    std::unordered_map<std::string, EntityId> openers;
    /// An opener waiting to be usable again (its menu may be shown after the sub-menu hides).
    EntityId restoreFocus = 0;
    /// The element that had the focus most recently, even if it has lost it since.
    EntityId lastFocused = 0;
};

/// Draws `text` (lines split at '\n') with `font`: one sprite per glyph, cells `size` high,
/// aligned in the rectangle (centre, size) as `align` says.
void DrawText(const SendCallback& send, const Font& font, std::string_view text,
              const ComponentSprite& style, const glm::vec3& centre, const glm::vec2& boxSize,
              float size, std::string_view align);
