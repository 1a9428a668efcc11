#include "game/menu/SystemPauseMenu.h"

#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"
#include "services/ui/MessageUITrigger.h"

namespace {}  // namespace

void from_json(const nlohmann::json& j, ComponentPauseMenu& menu) {
    json_read::Key(j, "Menu", menu.Menu);
    json_read::Key(j, "Sub Menus", menu.SubMenus);
}

bool SystemPauseMenu::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Key: {
            auto& key = static_cast<const MessageKey&>(message);
            if (key.key != keycode::Escape || key.action != MessageKey::kPressed) return false;
            Toggle();
            return false;
        }
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (trigger.name == trigger::Pause) {
                for (auto& [entity, menu] : components) menu.paused = trigger.value;
            }
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemPauseMenu::Toggle() {
    // A scene without a pause menu cannot be paused from the keyboard.
    if (components.empty()) return;
    // Decided once, so that a second menu in the scene cannot undo the first's pause.
    const bool pause = !components.begin()->second.paused;
    for (const auto& [entity, menu] : components) {
        SendMessage(MessageUIActiveTrigger(menu.Menu, pause));
        SendMessage(MessageUIVisibleTrigger(menu.Menu, pause));
    }
    // The game, the sound and every pause menu follow the trigger before the send returns.
    SendMessage(MessageTrigger(trigger::Pause, pause));
    if (pause) return;
    for (const auto& [entity, menu] : components) {
        for (const std::string& sub : menu.SubMenus) {
            SendMessage(MessageUIActiveTrigger(sub, false));
            SendMessage(MessageUIVisibleTrigger(sub, false));
        }
    }
}
