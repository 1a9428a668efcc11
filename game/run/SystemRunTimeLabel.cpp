#include "game/run/SystemRunTimeLabel.h"

#include "engine/JsonRead.h"
#include "services/ui/ElementText.h"

void from_json(const nlohmann::json& j, ComponentRunTimeLabel& label) {
    json_read::Key(j, "Prefix", label.Prefix);
}

bool SystemRunTimeLabel::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update || components.empty()) {
        return System::HandleMessage(message);
    }
    const std::string time = RunRecord::FormatTime(record->playTime);
    for (const auto& [entity, label] : components) {
        ui::SetText(SendMessage, entity, label.Prefix + time);
    }
    return false;
}
