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

    if (m.state == PlayerState::JumpLaunch && m.stateTime > t.TimeToJump) {
        m.grounded = false;
        body.Velocity.y = t.JumpVelocity;
        m.state = PlayerState::JumpRise;
        step.tookOff = true;
    }
    if (!m.grounded && body.Velocity.y < 0.0f) m.state = PlayerState::JumpFall;
    // A press during the wind-up keeps it running: the state is JumpLaunch already.
    if (intents.upHeld && m.grounded) m.state = PlayerState::JumpLaunch;
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
