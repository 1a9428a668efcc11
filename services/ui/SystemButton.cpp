#include "services/ui/SystemButton.h"

#include <cmath>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "services/ui/MessageUITrigger.h"
#include "services/ui/SystemUIElement.h"

using json = nlohmann::json;

namespace {

ButtonAction ReadAction(const json& j) {
    json_read::RequireObject(j);
    const std::string type = j.at("Type").get<std::string>();
    ButtonAction action;
    auto name = [&](const char* key) { return j.at(key).get<std::string>(); };
    if (type == "Change State") {
        action.kind = ButtonAction::Kind::ChangeState;
        action.name = name("State");
        json_read::Key(j, "Destroy Current", action.destroyCurrent);
    } else if (type == "Trigger") {
        action.kind = ButtonAction::Kind::Trigger;
        action.name = name("Name");
        json_read::Key(j, "Value", action.value);
    } else if (type == "Show" || type == "Hide") {
        action.kind = type == "Show" ? ButtonAction::Kind::Show : ButtonAction::Kind::Hide;
        action.name = name("Element");
    } else if (type == "Set Visible" || type == "Set Active") {
        action.kind =
            type == "Set Visible" ? ButtonAction::Kind::SetVisible : ButtonAction::Kind::SetActive;
        action.name = name("Element");
        json_read::Key(j, "Value", action.value);
    } else {
        throw json::other_error::create(501, "unknown button action \"" + type + "\"", &j);
    }
    return action;
}

}  // namespace

void from_json(const json& j, ComponentButton& button) {
    json_read::Key(j, "Any Key", button.anyKey);
    json_read::Key(j, "Press After", button.pressAfter);
    json_read::Key(j, "Back", button.back);
    if (!std::isfinite(button.pressAfter) || button.pressAfter < 0.0f) {
        throw json::other_error::create(501, "\"Press After\" must be 0 or more seconds", &j);
    }
    if (!j.is_object() || !j.contains("Actions")) return;
    const json& actions = j.at("Actions");
    if (!actions.is_array()) {
        throw json::type_error::create(
            302, std::string("\"Actions\" must be an array, but is ") + actions.type_name(),
            &actions);
    }
    button.actions.clear();
    for (const json& action : actions) button.actions.push_back(ReadAction(action));
}

bool SystemButton::HandleMessage(const Message& message) {
    if (cursor.Handle(message)) return false;
    switch (message.TypeId()) {
        case MessageId::Key: {
            auto& key = static_cast<const MessageKey&>(message);
            return OnKey(key.key, key.action);
        }
        case MessageId::Update: {
            UpdateHover();
            const EntityId due = Tick(static_cast<const MessageUpdate&>(message).dt);
            if (due != 0) Press(due);
            return false;
        }
        case MessageId::EntityBirth:
            MarkFocusable(static_cast<const MessageEntityBirth&>(message).entity);
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemButton::MarkFocusable(EntityId entity) {
    if (!components.count(entity)) return;
    SendMessage(MessageQuery<ComponentUIElement>(
        entity, [](ComponentUIElement& element) { element.focusable = true; }));
}

EntityId SystemButton::ButtonUnderCursor() {
    if (!cursor.Known()) return 0;
    EntityId best = 0;
    float bestDepth = 0.0f;
    for (auto& [entity, button] : components) {
        bool usable = false;
        std::string camera;
        SendMessage(MessageQuery<ComponentUIElement>(entity, [&](ComponentUIElement& element) {
            usable = element.Usable();
            camera = element.camera;
        }));
        if (!usable) continue;
        SendMessage(
            MessageQuery<ComponentTransform>(entity, [&, entity = entity](ComponentTransform& t) {
                if (!InsideRect(cursor.In(camera), glm::vec2(t.translation), glm::vec2(t.scale))) {
                    return;
                }
                if (best == 0 || t.translation.z > bestDepth) {
                    best = entity;
                    bestDepth = t.translation.z;
                }
            }));
    }
    return best;
}

EntityId SystemButton::Tick(float dt) {
    for (auto& [entity, button] : components) {
        if (button.pressAfter <= 0.0f || button.fired) continue;
        button.elapsed += dt;
        if (button.elapsed >= button.pressAfter) {
            button.fired = true;
            return entity;
        }
    }
    return 0;
}

void SystemButton::UpdateHover() {
    // Hover and focus are the element system's; a button shows only whether it is held down.
    const EntityId under = ButtonUnderCursor();
    for (auto& [entity, button] : components) {
        const bool armed = button.armed;
        SendMessage(MessageQuery<ComponentUIElement>(
            entity, [&, entity = entity](ComponentUIElement& element) {
                element.pressed = armed && entity == under;
            }));
    }
}

EntityId SystemButton::BackButton() {
    EntityId best = 0;
    float bestDepth = 0.0f;
    for (auto& [entity, button] : components) {
        if (!button.back) continue;
        bool usable = false;
        SendMessage(MessageQuery<ComponentUIElement>(
            entity, [&](ComponentUIElement& element) { usable = element.Usable(); }));
        if (!usable) continue;
        SendMessage(
            MessageQuery<ComponentTransform>(entity, [&, entity = entity](ComponentTransform& t) {
                if (best == 0 || t.translation.z > bestDepth) {
                    best = entity;
                    bestDepth = t.translation.z;
                }
            }));
    }
    return best;
}

bool SystemButton::OnKey(int key, int action) {
    EntityId pressed = 0;
    if (action == MessageKey::kPressed) {
        for (auto& [entity, button] : components) {
            if (!button.anyKey || button.fired) continue;
            button.fired = true;
            pressed = entity;
            break;
        }
        if (pressed != 0) {
            Press(pressed);
            return false;
        }
    }
    if (key == keycode::Escape && action == MessageKey::kPressed) {
        const EntityId back = BackButton();
        if (back == 0) return false;
        // Held back from the pause menu's own Escape, which would undo the step.
        PressBy(back, kBackSound);
        return true;
    }
    if (key == MessageKey::kMouseFirst && action == MessageKey::kPressed) {
        const EntityId under = ButtonUnderCursor();
        for (auto& [entity, button] : components) button.armed = entity == under;
        if (under != 0) {
            // The button clicked has the one focus, whatever the keys chose before.
            SendMessage(MessageQueryContainer<ComponentUIElement>(
                [under](std::unordered_map<EntityId, ComponentUIElement>& elements) {
                    for (auto& [entity, element] : elements) element.focused = entity == under;
                }));
        }
        return false;
    }
    if (key == MessageKey::kMouseFirst && action == MessageKey::kReleased) {
        const EntityId under = ButtonUnderCursor();
        for (auto& [entity, button] : components) {
            if (button.armed && entity == under) pressed = entity;
            button.armed = false;
        }
    } else if ((key == keycode::Enter || key == keycode::PadEnter || key == keycode::Space) &&
               action == MessageKey::kPressed) {
        for (auto& [entity, button] : components) {
            SendMessage(MessageQuery<ComponentUIElement>(
                entity, [&, entity = entity](ComponentUIElement& e) {
                    if (e.focused && e.Usable()) pressed = entity;
                }));
        }
    }
    // Pressed outside the loops: actions may add or remove buttons.
    if (pressed != 0) PressBy(pressed, kPressSound);
    return false;
}

void SystemButton::PressBy(EntityId entity, std::string_view sound) {
    // The button pressed has the focus, so that a menu it opens gives the focus back to it.
    SendMessage(MessageQueryContainer<ComponentUIElement>(
        [entity](std::unordered_map<EntityId, ComponentUIElement>& elements) {
            for (auto& [id, element] : elements) element.focused = id == entity;
        }));
    // Before the actions: they may change state, and the new state's music should follow it.
    SendMessage(MessageAudioEvent(sound, glm::vec3(0.0f), glm::vec3(0.0f)));
    Press(entity);
}

void SystemButton::Press(EntityId entity) {
    auto it = components.find(entity);
    if (it == components.end()) return;
    // A copy: the actions' messages may change this table.
    const std::vector<ButtonAction> actions = it->second.actions;
    for (const ButtonAction& action : actions) {
        switch (action.kind) {
            case ButtonAction::Kind::ChangeState:
                if (action.destroyCurrent) SendMessage(MessageDestroyState(""));
                SendMessage(MessageChangeState(action.name));
                break;
            case ButtonAction::Kind::Trigger:
                SendMessage(MessageTrigger(action.name, action.value));
                break;
            case ButtonAction::Kind::Show:
            case ButtonAction::Kind::Hide: {
                const bool value = action.kind == ButtonAction::Kind::Show;
                SendMessage(MessageUIActiveTrigger(action.name, value));
                SendMessage(MessageUIVisibleTrigger(action.name, value));
                break;
            }
            case ButtonAction::Kind::SetVisible:
                SendMessage(MessageUIVisibleTrigger(action.name, action.value));
                break;
            case ButtonAction::Kind::SetActive:
                SendMessage(MessageUIActiveTrigger(action.name, action.value));
                break;
        }
    }
}
