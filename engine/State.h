#pragma once

#include <memory>
#include <vector>

#include "engine/Manager.h"
#include "engine/StateEntity.h"
#include "engine/SystemBase.h"

/// One loaded scene: its entity registry, its own clones of every system and the entities
/// whose destruction is due at its next update. Copying a state copies all of it.
class State : public Manager {
public:
    State(const std::vector<std::unique_ptr<SystemBase>>& prototypes, SendCallback send);
    State(const State& other);
    State& operator=(const State&) = delete;

    bool HandleMessage(const Message& message) override;

    StateEntity entities;
    std::vector<std::unique_ptr<SystemBase>> systems;
    std::vector<EntityId> pendingEntityDestroys;
};
