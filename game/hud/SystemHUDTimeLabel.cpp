#include "game/hud/SystemHUDTimeLabel.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "engine/JsonRead.h"
#include "game/hud/SystemHUDTimer.h"
#include "services/ui/ElementText.h"

void from_json(const nlohmann::json& j, ComponentHUDTimeLabel& label) {
    json_read::Key(j, "Prefix", label.Prefix);
    json_read::Key(j, "Suffix", label.Suffix);
}

std::string SystemHUDTimeLabel::Text(const ComponentHUDTimeLabel& label, float remaining) {
    const double seconds = std::ceil(std::max(0.0, static_cast<double>(remaining)));
    return label.Prefix + std::to_string(static_cast<long long>(seconds)) + label.Suffix;
}

bool SystemHUDTimeLabel::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update || components.empty()) {
        return System::HandleMessage(message);
    }
    std::optional<float> remaining;
    SendMessage(MessageQueryContainer<ComponentHUDTimer>(
        [&remaining](std::unordered_map<EntityId, ComponentHUDTimer>& timers) {
            // The clock with the lowest entity id, the one that also pays the time penalty.
            EntityId lowest = 0;
            for (const auto& [id, timer] : timers) {
                if (!remaining || id < lowest) {
                    lowest = id;
                    remaining = timer.TimeRemaining;
                }
            }
        }));
    if (!remaining) return false;
    for (const auto& [entity, label] : components) {
        ui::SetText(SendMessage, entity, Text(label, *remaining));
    }
    return false;
}
