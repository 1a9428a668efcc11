#include "game/run/SystemRunTimeLabel.h"

#include "engine/JsonRead.h"
#include "services/ui/SystemUIElement.h"

void from_json(const nlohmann::json& j, ComponentRunTimeLabel& label) {
    json_read::Key(j, "Prefix", label.Prefix);
}

bool SystemRunTimeLabel::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update || components.empty()) {
        return System::HandleMessage(message);
    }
    const std::string time = RunRecord::FormatTime(record->playTime);
    for (const auto& [entity, label] : components) {
        const std::string text = label.Prefix + time;
        const std::function<void(ComponentUIElement&)> write = [&text](ComponentUIElement& e) {
            if (e.text != text) e.text = text;
        };
        SendMessage(MessageQuery<ComponentUIElement>(entity, write));
    }
    return false;
}
