#include "game/menu/SystemTriggerLabel.h"

#include <functional>

#include "engine/JsonRead.h"
#include "engine/MessageTrigger.h"
#include "services/ui/SystemUIElement.h"

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
                const std::string& text =
                    seen != values->end() && seen->second ? label.OnText : label.OffText;
                const std::function<void(ComponentUIElement&)> write =
                    [&text](ComponentUIElement& element) {
                        if (element.text != text) element.text = text;
                    };
                SendMessage(MessageQuery<ComponentUIElement>(entity, write));
            }
            return false;
        default:
            return System::HandleMessage(message);
    }
}
