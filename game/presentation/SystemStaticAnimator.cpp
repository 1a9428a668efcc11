#include "game/presentation/SystemStaticAnimator.h"

#include "engine/JsonRead.h"
#include "services/animation/MessageAnimation.h"

void from_json(const nlohmann::json& j, ComponentStaticAnimator& animator) {
    json_read::Key(j, "Animation To Play", animator.AnimationToPlay);
}

bool SystemStaticAnimator::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    for (auto& [entity, animator] : components) {
        if (animator.AnimationStarted) continue;
        // Marked first: the request may be answered re-entrantly by anything on the bus.
        animator.AnimationStarted = true;
        SendMessage(MessageSetAnimation(entity, animator.AnimationToPlay, true, false, 0.0f, 1.0f));
    }
    return false;
}
