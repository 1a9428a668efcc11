#include "audio/SystemAudioListener.h"

#include <vector>

#include <glm/vec3.hpp>

#include "audio/MessageAudio.h"
#include "engine/MessageComponent.h"
#include "engine/SystemTransform.h"
// Only the component's type: the query reaches whichever physics system the state holds.
#include "physics2d/SystemPhysics.h"

bool SystemAudioListener::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    // Ids copied first: a listener's handlers may add or remove listeners meanwhile.
    std::vector<EntityId> listeners;
    listeners.reserve(components.size());
    for (const auto& [entity, listener] : components) listeners.push_back(entity);
    for (EntityId entity : listeners) {
        glm::vec3 velocity(0.0f);
        SendMessage(MessageQuery<ComponentPhysics>(
            entity, [&](ComponentPhysics& physics) { velocity = physics.Velocity; }));
        SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& transform) {
            SendMessage(MessageListenerPosition(transform.translation, velocity));
        }));
    }
    return false;
}
