#include "game/player/PlayerSequences.h"

#include <cmath>

#include "game/player/PlayerMovement.h"

namespace {

/// Horizontal speed forced during the falling death.
constexpr float kFallingDeathDrift = 10.0f;

SequenceStep StepWin(ComponentPlayerControl& c, ComponentPhysics* body, float dt) {
    SequenceStep step;
    c.sequenceTime += dt;
    if (c.sequenceTime > c.WinSequenceLength) {
        c.state = PlayerState::Unset;
        c.sequenceTime = 0.0f;
        return step;
    }
    if (!body) return step;
    if (body->Velocity.y < kLeaveGroundSpeed) c.grounded = false;
    if (c.grounded) body->Velocity.x = 0.0f;
    step.walkingSpeed = c.grounded ? std::fabs(body->Velocity.z) : 0.0f;
    return step;
}

/// Holds the body still for the first moments of a death; true while it does.
bool HoldDeath(ComponentPlayerControl& c, ComponentPhysics* body) {
    if (!c.deathFrozen) return false;
    if (c.sequenceTime <= c.DeathFreezeTime) {
        if (body) body->Velocity = glm::vec3(0.0f);
        return true;
    }
    c.deathFrozen = false;
    if (body) {
        body->Velocity = c.frozenVelocity;
        body->Acceleration.y = c.frozenGravity;
    }
    return false;
}

SequenceStep StepFallingDeath(ComponentPlayerControl& c, ComponentPhysics* body, float dt) {
    SequenceStep step;
    c.sequenceTime += dt;
    if (HoldDeath(c, body)) return step;
    if (c.sequenceTime > c.FallingDeathSequenceLength) {
        c.sequenceTime = 0.0f;
        step.reloadCheckpoint = true;
        return step;
    }
    if (!body) return step;
    body->Velocity.x = body->Velocity.x > 0.0f ? kFallingDeathDrift : -kFallingDeathDrift;
    c.grounded = false;
    step.walkingSpeed = 0.0f;
    return step;
}

SequenceStep StepDeath(ComponentPlayerControl& c, ComponentPhysics* body, float dt) {
    SequenceStep step;
    c.sequenceTime += dt;
    HoldDeath(c, body);
    if (c.sequenceTime > c.DeathSequenceLength) {
        c.sequenceTime = 0.0f;
        step.reloadCheckpoint = true;
        return step;
    }
    c.grounded = true;
    if (!body) return step;
    body->Velocity.x = 0.0f;
    step.walkingSpeed = std::fabs(body->Velocity.z);
    return step;
}

/// The entrance's own state lasts one update: ordinary play follows in `Walking`.
SequenceStep StepStart(ComponentPlayerControl& c, ComponentPhysics* body) {
    SequenceStep step;
    c.state = PlayerState::Walking;
    if (!body) return step;
    if (body->Velocity.y < kLeaveGroundSpeed) c.grounded = false;
    step.walkingSpeed = c.grounded ? std::fabs(body->Velocity.z) : 0.0f;
    return step;
}

}  // namespace

void BeginEntrance(ComponentPlayerControl& c) {
    c.state = PlayerState::StartSequence;
    c.entering = true;
    c.enteringTime = 0.0f;
}

bool StepEntrance(ComponentPlayerControl& c, float dt) {
    if (!c.entering) return false;
    c.enteringTime += dt;
    if (c.enteringTime <= c.StartSequenceLength) return false;
    c.entering = false;
    c.enteringTime = 0.0f;
    return true;
}

void BeginWin(ComponentPlayerControl& c, ComponentPhysics* body) {
    c.state = PlayerState::Win;
    if (!body) return;
    body->Acceleration.x = 0.0f;
    body->Velocity.x *= 0.5f;
    if (body->Velocity.y > 0.0f) body->Velocity.y *= 0.5f;
}

namespace {

/// The throw of the hit waits until the hold ends.
void FreezeDeath(ComponentPlayerControl& c, ComponentPhysics* body) {
    if (!(c.DeathFreezeTime > 0.0f) || !body || c.deathFrozen) return;
    c.deathFrozen = true;
    c.frozenVelocity = body->Velocity;
    c.frozenGravity = body->Acceleration.y;
    body->Velocity = glm::vec3(0.0f);
    body->Acceleration.y = 0.0f;
}

}  // namespace

void BeginDeath(ComponentPlayerControl& c, ComponentPhysics* body) {
    // The death decides the player's depth from here on (the hurt jump moves it).
    c.entering = false;
    if (!c.grounded) {
        c.state = PlayerState::FallingDeath;
        FreezeDeath(c, body);
        return;
    }
    c.state = PlayerState::Death;
    if (!body) return;
    body->Acceleration.x = body->Acceleration.y = 0.0f;
    body->Velocity.y = 0.0f;
    body->Velocity.x *= 0.5f;
    FreezeDeath(c, body);
}

void EndDeathFreeze(ComponentPlayerControl& c, ComponentPhysics* body) {
    if (!c.deathFrozen) return;
    c.deathFrozen = false;
    if (body) body->Acceleration.y = c.frozenGravity;
}

std::optional<SequenceStep> StepSequence(ComponentPlayerControl& c, ComponentPhysics* body,
                                         float dt) {
    switch (c.state) {
        case PlayerState::Win:
            return StepWin(c, body, dt);
        case PlayerState::FallingDeath:
            return StepFallingDeath(c, body, dt);
        case PlayerState::Death:
            return StepDeath(c, body, dt);
        case PlayerState::StartSequence:
            return StepStart(c, body);
        default:
            return std::nullopt;
    }
}
