#pragma once

#include "game/player/ComponentPlayerControl.h"
#include "physics2d/SystemPhysics.h"

/// Falling faster than this means the player has left the ground.
inline constexpr float kLeaveGroundSpeed = -10.0f;

/// What one update of ordinary play asks of the rest of the game, in the order it is sent:
/// the walking sound's speed, the facing, the jump sound and the new animation.
struct MovementStep {
    /// The "Walking Speed" audio parameter.
    float walkingSpeed = 0.0f;
    /// -1 or +1 when exactly one direction is held: face that way.
    int facing = 0;
    /// The jump took off this update.
    bool tookOff = false;
    /// The state differs from the one the update began in.
    bool stateChanged = false;
};

/// One update of ordinary play on the body: walking with acceleration and friction on the
/// ground, gliding in the air, the jump's wind-up and take-off, falling, and the speed bounds.
/// Landing (JumpFall to JumpLand) is the player collision's business.
MovementStep StepMovement(const PlayerTuning& tuning, PlayerMotion& motion,
                          const PlayerIntents& intents, ComponentPhysics& body, float dt);

/// Fly mode's velocity: 1.5 times the walking bound in the held directions, nothing else.
/// Returns the horizontal direction held (-1, 0, +1).
int FlyVelocity(const PlayerTuning& tuning, const PlayerIntents& intents, ComponentPhysics& body);

/// A state differing from `previousState` starts a new animation: restarts `stateTime` and
/// returns true.
bool EnterState(PlayerMotion& motion);
