#pragma once

#include <string_view>

#include "engine/System.h"
#include "game/player/ComponentPlayerControl.h"

struct ComponentPhysics;
class MessageKey;

/// Turns the held keys into the player's movement (PlayerMovement), runs the scripted
/// sequences that triggers start (PlayerSequences) and shows the result (PlayerEffects).
class SystemPlayerControl : public System<ComponentPlayerControl, SystemPlayerControl> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void OnKey(const MessageKey& key);
    void OnTrigger(std::string_view name, bool value);
    void Update(float dt);
    void UpdateOne(EntityId entity, ComponentPlayerControl& control, float dt);
    /// Debug fly mode on or off: no gravity and no momentum while it is on.
    void ApplyFlyMode(EntityId entity, ComponentPlayerControl& control);
    /// The animation and effects of a state that differs from the last ordinary update's.
    void UpdateAnimation(EntityId entity, ComponentPlayerControl& control);
    /// The entity's body, or nullptr. Valid until the physics table loses an entry, which
    /// only happens at the start of an update.
    ComponentPhysics* Body(EntityId entity);
};
