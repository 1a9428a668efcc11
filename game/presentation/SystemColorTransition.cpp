#include "game/presentation/SystemColorTransition.h"

#include "audio/MessageAudio.h"
#include "engine/ComponentSprite.h"
#include "engine/JsonRead.h"
#include "game/presentation/TransitionRatio.h"

void from_json(const nlohmann::json& j, ComponentColorTransition& transition) {
    json_read::Vec<4>(j, "Color Start", transition.ColorStart);
    json_read::Vec<4>(j, "Color End", transition.ColorEnd);
    json_read::Key(j, "Player Start", transition.PlayerStart);
    json_read::Key(j, "Player End", transition.PlayerEnd);
}

bool SystemColorTransition::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::ListenerPosition) return System::HandleMessage(message);
    const float x = static_cast<const MessageListenerPosition&>(message).position.x;
    for (auto& [entity, transition] : components) {
        const auto t = TransitionRatio(x, transition.PlayerStart, transition.PlayerEnd);
        if (!t) continue;
        const glm::vec4 color =
            transition.ColorStart + *t * (transition.ColorEnd - transition.ColorStart);
        SendMessage(MessageQuery<ComponentSprite>(
            entity, [&color](ComponentSprite& sprite) { sprite.color = color; }));
    }
    return false;
}
