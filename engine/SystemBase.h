#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "engine/Manager.h"
#include "engine/MessageEntity.h"

/// A system owns every component of one type, keyed by entity id. Prototypes are cloned
/// into each state, so a system and all its members must be copyable.
class SystemBase : public Manager {
public:
    /// A deep copy of the concrete system: its table, its send callback and its members.
    virtual std::unique_ptr<SystemBase> Clone() const = 0;
    /// The component's key in entity files ("Transform", "Box Collider", ...).
    virtual std::string_view Name() const = 0;
    /// The entities that have this system's component, in no particular order.
    virtual std::vector<EntityId> Entities() const { return {}; }
};
