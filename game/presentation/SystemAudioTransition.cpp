#include "game/presentation/SystemAudioTransition.h"

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "game/presentation/TransitionRatio.h"

void from_json(const nlohmann::json& j, ComponentAudioTransition& transition) {
    json_read::Key(j, "Parameter", transition.Parameter);
    json_read::Key(j, "Parameter Start", transition.ParameterStart);
    json_read::Key(j, "Parameter End", transition.ParameterEnd);
    json_read::Key(j, "Player Start", transition.PlayerStart);
    json_read::Key(j, "Player End", transition.PlayerEnd);
}

bool SystemAudioTransition::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::ListenerPosition) return System::HandleMessage(message);
    const float x = static_cast<const MessageListenerPosition&>(message).position.x;
    for (auto& [entity, transition] : components) {
        const auto t = TransitionRatio(x, transition.PlayerStart, transition.PlayerEnd);
        if (!t) continue;
        SendMessage(MessageAudioParameter(
            transition.Parameter, transition.ParameterStart +
                                      *t * (transition.ParameterEnd - transition.ParameterStart)));
    }
    return false;
}
