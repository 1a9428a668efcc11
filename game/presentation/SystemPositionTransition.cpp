#include "game/presentation/SystemPositionTransition.h"

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/SystemTransform.h"
#include "game/presentation/TransitionRatio.h"

void from_json(const nlohmann::json& j, ComponentPositionTransition& transition) {
    json_read::Key(j, "Position Start", transition.PositionStart);
    json_read::Key(j, "Position End", transition.PositionEnd);
    json_read::Key(j, "Player Start", transition.PlayerStart);
    json_read::Key(j, "Player End", transition.PlayerEnd);
}

bool SystemPositionTransition::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::ListenerPosition) return System::HandleMessage(message);
    const float x = static_cast<const MessageListenerPosition&>(message).position.x;
    for (auto& [entity, transition] : components) {
        const auto t = TransitionRatio(x, transition.PlayerStart, transition.PlayerEnd);
        if (!t) continue;
        const float target =
            transition.PositionStart + *t * (transition.PositionEnd - transition.PositionStart);
        SendMessage(MessageQuery<ComponentTransform>(
            entity, [target](ComponentTransform& transform) { transform.translation.x = target; }));
    }
    return false;
}
