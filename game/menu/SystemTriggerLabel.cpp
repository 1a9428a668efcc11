#include "game/menu/SystemTriggerLabel.h"

#include "engine/JsonRead.h"
#include "engine/MessageTrigger.h"
#include "services/ui/ElementText.h"

void from_json(const nlohmann::json& j, ComponentTriggerLabel& label) {
    json_read::Key(j, "Trigger", label.Trigger);
    json_read::Key(j, "On Text", label.OnText);
    json_read::Key(j, "Off Text", label.OffText);
}

bool SystemTriggerLabel::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            (*values)[std::string(trigger.name)] = trigger.value;
            return false;
        }
        case MessageId::Update:
            for (const auto& [entity, label] : components) {
                const auto seen = values->find(label.Trigger);
                const bool on = seen != values->end() && seen->second;
                ui::SetText(SendMessage, entity, on ? label.OnText : label.OffText);
            }
            return false;
        default:
            return System::HandleMessage(message);
    }
}
