#include "engine/State.h"

#include "engine/DeliverInTurn.h"
#include "engine/MessageEntity.h"
#include "engine/MessageId.h"

State::State(const std::vector<std::unique_ptr<SystemBase>>& prototypes, SendCallback send)
    : entities(send) {
    SendMessage = std::move(send);
    systems.reserve(prototypes.size());
    for (const auto& prototype : prototypes) systems.push_back(prototype->Clone());
}

State::State(const State& other)
    : Manager(other), entities(other.entities), pendingEntityDestroys(other.pendingEntityDestroys) {
    systems.reserve(other.systems.size());
    for (const auto& system : other.systems) systems.push_back(system->Clone());
}

bool State::HandleMessage(const Message& message) {
    const int id = message.TypeId();
    if (id == MessageId::Update) {
        while (!pendingEntityDestroys.empty()) {
            const MessageDestroyEntity destroy(pendingEntityDestroys.back());
            pendingEntityDestroys.pop_back();
            for (auto& system : systems) system->HandleMessage(destroy);
        }
    } else if (id == MessageId::DestroyEntity) {
        pendingEntityDestroys.push_back(static_cast<const MessageDestroyEntity&>(message).entity);
        return true;
    }
    if (entities.HandleMessage(message)) return true;
    return DeliverInTurn(systems, message);
}
