#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/System.h"
#include "services/ui/UICursor.h"

/// What a button does when pressed; several run in their order.
struct ButtonAction {
    enum class Kind { ChangeState, Trigger, Show, Hide, SetVisible, SetActive };

    Kind kind = Kind::Trigger;
    /// The state, trigger or element name.
    std::string name;
    bool value = true;
    /// Change State: destroy the current state first.
    bool destroyCurrent = true;
};

/// A button's actions. The entity also needs a "UI Element" (its rectangle, visibility and
/// look) and a "Transform". Keys are listed in docs/ui.md.
struct ComponentButton {
    static constexpr std::string_view kName = "Button";

    std::vector<ButtonAction> actions;
    /// Pressed by any key or mouse button, once; needs no element (splash screens).
    bool anyKey = false;
    /// Seconds of game time after which it presses itself, once; 0: never.
    float pressAfter = 0.0f;
    /// Escape (the pad's B) presses it while it is usable: the way one step back.
    bool back = false;

    /// Pressed with the mouse and not yet released.
    bool armed = false;
    float elapsed = 0.0f;
    /// An any-key or timed press has happened.
    bool fired = false;
};

void from_json(const nlohmann::json& j, ComponentButton& button);

/// Presses buttons: a mouse click (press and release of the first button over the same usable
/// button) or Enter / Space on the focused one runs the button's actions, each sent as a message
/// (MessageChangeState with MessageDestroyState, MessageTrigger, MessageUIVisibleTrigger and
/// MessageUIActiveTrigger). Escape presses the usable "Back" button in front, and takes the key
/// from the systems after it. Buttons may also press themselves on any key or after a time.
class SystemButton : public System<ComponentButton, SystemButton> {
public:
    bool HandleMessage(const Message& message) override;

    /// Runs one button's actions.
    void Press(EntityId entity);

    /// Sound events of a press by the player and of a press by Escape.
    static constexpr std::string_view kPressSound = "SFX/UI Press";
    static constexpr std::string_view kBackSound = "SFX/UI Back";

private:
    /// True when the key was used up (Escape on a back button).
    bool OnKey(int key, int action);
    /// The topmost usable back button, 0 if none.
    EntityId BackButton();
    /// Presses a button as the player does: with its sound.
    void PressBy(EntityId entity, std::string_view sound);
    /// The topmost usable button under the cursor, 0 if none.
    EntityId ButtonUnderCursor();
    void UpdateHover();
    /// Counts down the timed buttons; returns the one due, 0 if none.
    EntityId Tick(float dt);
    void MarkFocusable(EntityId entity);

    UICursor cursor;
};
