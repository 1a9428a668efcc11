#include "audio/SystemAudioSource.h"

#include <glm/vec3.hpp>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/MessageComponent.h"
#include "engine/MessageEntity.h"

void from_json(const nlohmann::json& j, ComponentAudioSource& source) {
    json_read::Key(j, "Create Sound", source.createSound);
    json_read::Key(j, "Destroy Sound", source.destroySound);
}

void SystemAudioSource::Play(const std::string& name) {
    if (name.empty()) return;
    SendMessage(MessageAudioEvent(name, glm::vec3(0.0f), glm::vec3(0.0f)));
}

bool SystemAudioSource::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::ChangeState:
            for (const auto& [entity, source] : components) Play(source.destroySound);
            return false;
        case MessageId::DestroyEntity: {
            EntityId entity = static_cast<const MessageDestroyEntity&>(message).entity;
            // Copied out first: the sound's own handlers may touch this table.
            std::string sound;
            SendMessage(MessageQuery<ComponentAudioSource>(
                entity, [&](ComponentAudioSource& source) { sound = source.destroySound; }));
            Play(sound);
            return System::HandleMessage(message);
        }
        case MessageId::EntityBirth: {
            EntityId entity = static_cast<const MessageEntityBirth&>(message).entity;
            std::string sound;
            SendMessage(MessageQuery<ComponentAudioSource>(
                entity, [&](ComponentAudioSource& source) { sound = source.createSound; }));
            Play(sound);
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}
