#pragma once

#include <string>

#include "engine/Manager.h"
#include "engine/MessageEntity.h"
#include "game/player/ComponentPlayerControl.h"

/// What the player character shows and sounds like, as requests to the animation, particle,
/// transform and audio systems. Knows nothing of movement rules.
class PlayerEffects {
public:
    PlayerEffects(const SendCallback& send, EntityId entity) : send(send), entity(entity) {}

    /// The new state's animation (states with one), then its particles: the run dust runs
    /// only while walking and the jump dust bursts at the wind-up.
    void StateChanged(const PlayerTuning& tuning, PlayerState state) const;
    /// Mirrors the sprite to face left (-1) or right (+1); returns whether it turned.
    bool Face(int direction) const;
    /// Mirrors every emitter of the entity to match a facing.
    void FaceEmitters(int direction) const;
    void WalkingSpeed(float value) const;
    void JumpSound(const std::string& event) const;
    /// The translation's z: the depth among the scenery.
    void Depth(float z) const;

private:
    const SendCallback& send;
    EntityId entity;
};
