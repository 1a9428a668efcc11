#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <glm/vec3.hpp>
#include <nlohmann/json.hpp>

/// The player's animation state; the values are part of the content contract.
enum class PlayerState : std::int32_t {
    Unset = -1,
    Idle = 0,
    Braking = 1,
    Walking = 2,
    JumpLaunch = 3,
    JumpRise = 4,
    JumpFall = 5,
    JumpLand = 6,
    FallingDeath = 7,
    Death = 8,
    Win = 9,
    StartSequence = 10,
};

/// Whether the animation of a state repeats.
bool PlayerStateLoops(PlayerState s);
/// The states that triggers start and timers end: the deaths, the win and the entrance.
bool IsPlayerSequence(PlayerState s);

/// The content's tuning of the player: speeds, timings, animation and effect names.
struct PlayerTuning {
    float WalkAcceleration = 0.0f;
    float WalkSpeedMax = 0.0f;
    float GlideAcceleration = 0.0f;
    float JumpVelocity = 0.0f;
    float FrictionThreshold = 0.0f;
    float FrictionMultiplier = 1.0f;
    float TimeToJump = 0.15f;
    float TimeToLand = 0.15f;
    /// Seconds after the ground is left (without a jump) in which a jump still takes off.
    float CoyoteTime = 0.0f;
    /// Seconds a jump press is remembered: pressed this soon before landing, it takes off on
    /// landing, even when let go meanwhile.
    float JumpBuffer = 0.0f;
    /// Each jump needs a new press: holding the key does not jump again on landing.
    bool JumpNeedsNewPress = false;
    /// Letting go of jump while rising multiplies the upward speed by this, once (1: no cut).
    float JumpCutMultiplier = 1.0f;
    /// Holding jump while falling keeps the fall at most this fast (0: no glide).
    float GlideFallSpeed = 0.0f;
    std::string JumpSound;
    std::string EmptyAnimation = "empty";
    std::string WalkAnimation = "Run";
    std::string IdleAnimation = "Idle";
    std::string HurtAnimation = "empty";
    std::string HurtAnimationGround = "empty";
    std::string AquireTeapotAnimation = "empty";
    std::string JumpLaunchAnimation = "JumpAnticipation";
    std::string JumpRiseAnimation = "JumpUp";
    std::string JumpFallAnimation = "JumpDown";
    std::string JumpLandAnimation = "JumpLanding";
    std::string RunEffect;
    std::string JumpEffect;
    float StartSequenceLength = 3.0f;
    float WinSequenceLength = 3.0f;
    float DeathSequenceLength = 2.0f;
    float FallingDeathSequenceLength = 1.5f;
    /// Seconds at the start of a death in which the body holds still where it was hit, so
    /// that the player sees what did it; then the death goes on as usual (0: no hold).
    float DeathFreezeTime = 0.0f;
    float StartSequenceBackZ = -1.0f;
    float StartSequenceFrontZ = 0.0f;
    /// Kept for content; nothing depends on it.
    float StartRunDelay = 1.0f;

    /// The animation name of a state, or nullptr for Unset and StartSequence.
    const std::string* Animation(PlayerState s) const;
};

/// Where the movement state machine stands.
struct PlayerMotion {
    /// Standing on something; set by the player collision on landing.
    bool grounded = false;
    /// The state at the start of the last ordinary update.
    PlayerState previousState = PlayerState::Unset;
    PlayerState state = PlayerState::Unset;
    /// Seconds in the current animation state.
    float stateTime = 0.0f;
    /// Seconds since the player was last grounded, and whether it jumped since.
    float airTime = 0.0f;
    bool jumpedSinceGround = false;
    /// The jump presses taken in from PlayerIntents::upPresses, and the seconds since the last
    /// one that has not made a jump yet (pending).
    unsigned upPressesSeen = 0;
    bool jumpPending = false;
    float sinceJumpPress = 0.0f;
    /// The rise of the current jump has been cut.
    bool jumpCut = false;
};

/// The movement keys currently held.
struct PlayerIntents {
    bool leftHeld = false;
    bool rightHeld = false;
    bool upHeld = false;
    bool downHeld = false;
    /// Counts presses of jump, so that a press and release within one frame is still seen.
    unsigned upPresses = 0;

    /// -1 for left only, +1 for right only, 0 for neither or both.
    int Horizontal() const { return rightHeld == leftHeld ? 0 : (rightHeld ? 1 : -1); }
    /// -1 for down only, +1 for up only, 0 for neither or both.
    int Vertical() const { return upHeld == downHeld ? 0 : (upHeld ? 1 : -1); }
};

/// Movement tuning and state of the player character. Writes only the entity's physics and
/// transform; SystemPhysics moves it on the next update.
struct ComponentPlayerControl : PlayerTuning, PlayerMotion, PlayerIntents {
    static constexpr std::string_view kName = "Player Controller";

    bool paused = false;
    float savedGravity = 0.0f;
    /// Debug fly mode: no gravity, free movement.
    bool noClip = false;
    /// Seconds into the current win or death sequence.
    float sequenceTime = 0.0f;
    /// During a death's hold: the body's motion and gravity, given back when it ends.
    bool deathFrozen = false;
    glm::vec3 frozenVelocity{0.0f};
    float frozenGravity = 0.0f;
    /// The entrance keeps the player behind the scenery (at the back z) until this runs out.
    bool entering = false;
    float enteringTime = 0.0f;
};

void from_json(const nlohmann::json& j, ComponentPlayerControl& control);
