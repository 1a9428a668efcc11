#include "game/player/PlayerMovement.h"

#include <cmath>

namespace {

constexpr float kFlySpeedFactor = 1.5f;

/// The horizontal part: walk, glide, brake or stop.
void Walk(const PlayerTuning& t, PlayerMotion& m, int direction, ComponentPhysics& body, float dt) {
    // The wind-up and the first moments of a landing keep their animation.
    const bool mayWalk = m.state != PlayerState::JumpLaunch &&
                         (m.state != PlayerState::JumpLand || m.stateTime > t.TimeToLand);
    if (direction != 0) {
        const float sign = static_cast<float>(direction);
        if (m.grounded) {
            if (mayWalk) m.state = PlayerState::Walking;
            body.Acceleration.x += sign * dt * t.WalkAcceleration;
        } else {
            body.Acceleration.x += sign * dt * t.GlideAcceleration;
        }
    } else if (!m.grounded) {
        body.Acceleration.x = 0.0f;
    } else {
        const float v = body.Velocity.x;
        if (v > t.FrictionThreshold || v < -t.FrictionThreshold) {
            if (mayWalk) m.state = PlayerState::Braking;
            body.Acceleration.x = -v * t.FrictionMultiplier * dt;
        } else if (m.state != PlayerState::JumpLaunch) {
            body.Velocity.x = 0.0f;
            body.Acceleration.x = 0.0f;
            if (m.state != PlayerState::JumpLand || m.stateTime > t.TimeToLand) {
                m.state = PlayerState::Idle;
            }
        }
    }
}

void TakeOff(const PlayerTuning& t, PlayerMotion& m, ComponentPhysics& body, MovementStep& step) {
    m.grounded = false;
    m.jumpedSinceGround = true;
    m.jumpPending = false;
    m.jumpCut = false;
    body.Velocity.y = t.JumpVelocity;
    m.state = PlayerState::JumpRise;
    step.tookOff = true;
}

/// Takes in the presses of jump since the last update and ages the one not yet used.
void TrackJumpPress(PlayerMotion& m, const PlayerIntents& intents, float dt) {
    if (intents.upPresses != m.upPressesSeen) {
        m.upPressesSeen = intents.upPresses;
        m.jumpPending = true;
        m.sinceJumpPress = 0.0f;
    } else {
        m.sinceJumpPress += dt;
    }
}

/// Whether jump asks for a take-off in this update. Without a buffer and without the need of
/// a new press, a held key does, as on every landing; the wind-up runs on by itself.
bool WantsJump(const PlayerTuning& t, const PlayerMotion& m, const PlayerIntents& intents) {
    if (m.state == PlayerState::JumpLaunch) return false;
    const bool fresh = m.jumpPending && m.sinceJumpPress <= t.JumpBuffer;
    if (t.JumpNeedsNewPress) return fresh;
    return intents.upHeld || (t.JumpBuffer > 0.0f && fresh);
}

/// Letting go of jump on the way up ends the rise early; holding it on the way down glides.
void CutAndGlide(const PlayerTuning& t, PlayerMotion& m, const PlayerIntents& intents,
                 ComponentPhysics& body) {
    if (m.grounded) return;
    if (m.state == PlayerState::JumpRise && !intents.upHeld && !m.jumpCut &&
        body.Velocity.y > 0.0f && t.JumpCutMultiplier < 1.0f) {
        body.Velocity.y *= t.JumpCutMultiplier;
        m.jumpCut = true;
    }
    if (t.GlideFallSpeed > 0.0f && intents.upHeld && body.Velocity.y < -t.GlideFallSpeed) {
        body.Velocity.y = -t.GlideFallSpeed;
    }
}

}  // namespace

MovementStep StepMovement(const PlayerTuning& t, PlayerMotion& m, const PlayerIntents& intents,
                          ComponentPhysics& body, float dt) {
    MovementStep step;
    m.previousState = m.state;
    m.stateTime += dt;
    if (body.Velocity.y < kLeaveGroundSpeed) m.grounded = false;
    step.walkingSpeed = m.grounded ? std::fabs(body.Velocity.x) : 0.0f;
    if (IsPlayerSequence(m.state)) return step;

    step.facing = intents.Horizontal();
    Walk(t, m, step.facing, body, dt);
    TrackJumpPress(m, intents, dt);
    if (m.grounded) {
        m.airTime = 0.0f;
        m.jumpedSinceGround = false;
    } else {
        m.airTime += dt;
    }

    if (m.state == PlayerState::JumpLaunch && m.stateTime > t.TimeToJump) {
        TakeOff(t, m, body, step);
    }
    CutAndGlide(t, m, intents, body);
    if (!m.grounded && body.Velocity.y < 0.0f) m.state = PlayerState::JumpFall;
    if (WantsJump(t, m, intents)) {
        if (m.grounded) {
            // A press during the wind-up keeps it running: the state is JumpLaunch already.
            m.state = PlayerState::JumpLaunch;
        } else if (t.CoyoteTime > 0.0f && m.airTime <= t.CoyoteTime && !m.jumpedSinceGround) {
            // Just off a ledge: no wind-up, the ground to push from is gone.
            TakeOff(t, m, body, step);
        }
    }
    step.stateChanged = EnterState(m);

    if (body.Velocity.x > t.WalkSpeedMax) {
        body.Velocity.x = t.WalkSpeedMax;
        body.Acceleration.x = 0.0f;
    } else if (body.Velocity.x < -t.WalkSpeedMax) {
        body.Velocity.x = -t.WalkSpeedMax;
        body.Acceleration.x = 0.0f;
    }
    if (body.Velocity.y > t.JumpVelocity) {
        body.Velocity.y = t.JumpVelocity;
    } else if (body.Velocity.y < -t.JumpVelocity) {
        body.Velocity.y = -t.JumpVelocity;
    }
    return step;
}

int FlyVelocity(const PlayerTuning& t, const PlayerIntents& intents, ComponentPhysics& body) {
    const float speed = kFlySpeedFactor * t.WalkSpeedMax;
    const int horizontal = intents.Horizontal();
    body.Velocity.x = speed * static_cast<float>(horizontal);
    body.Velocity.y = speed * static_cast<float>(intents.Vertical());
    return horizontal;
}

bool EnterState(PlayerMotion& m) {
    if (m.previousState == m.state) return false;
    m.stateTime = 0.0f;
    return true;
}
