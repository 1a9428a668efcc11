#include "engine/SystemPreload.h"

#include "engine/JsonRead.h"
#include "engine/MessageState.h"
#include "engine/MessageTrigger.h"

void from_json(const nlohmann::json& j, ComponentPreload& preload) {
    json_read::Key(j, "States", preload.states);
    json_read::Key(j, "Trigger", preload.trigger);
    json_read::Key(j, "On Create", preload.onCreate);
}

void SystemPreload::Preload(const ComponentPreload& preload) {
    for (const auto& state : preload.states) SendMessage(MessageCreateState(state));
}

bool SystemPreload::HandleMessage(const Message& message) {
    if (message.TypeId() == MessageId::Trigger) {
        auto& trigger = static_cast<const MessageTrigger&>(message);
        // Copies: creating a state sends messages that could reach this table.
        std::vector<ComponentPreload> matching;
        for (const auto& [entity, preload] : components) {
            if (!preload.trigger.empty() && preload.trigger == trigger.name) {
                matching.push_back(preload);
            }
        }
        for (const auto& preload : matching) Preload(preload);
        return false;
    }
    if (message.TypeId() == MessageId::EntityBirth) {
        auto it = components.find(static_cast<const MessageEntityBirth&>(message).entity);
        if (it != components.end() && it->second.onCreate) {
            const ComponentPreload preload = it->second;
            Preload(preload);
        }
        return false;
    }
    return System::HandleMessage(message);
}
