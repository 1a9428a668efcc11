#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

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

/// Movement tuning and state of the player character. Writes only the entity's physics and
/// transform; SystemPhysics moves it on the next update.
struct ComponentPlayerControl {
    static constexpr std::string_view kName = "Player Controller";

    float WalkAcceleration = 0.0f;
    float WalkSpeedMax = 0.0f;
    float GlideAcceleration = 0.0f;
    float JumpVelocity = 0.0f;
    float FrictionThreshold = 0.0f;
    float FrictionMultiplier = 1.0f;
    float TimeToJump = 0.15f;
    float TimeToLand = 0.15f;
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
    float StartSequenceBackZ = -1.0f;
    float StartSequenceFrontZ = 0.0f;
    /// Kept for content; nothing depends on it.
    float StartRunDelay = 1.0f;

    bool paused = false;
    /// Standing on something; set by the player collision on landing.
    bool grounded = false;
    PlayerState previousState = PlayerState::Unset;
    PlayerState state = PlayerState::Unset;
    float stateTime = 0.0f;
    float savedGravity = 0.0f;
    bool leftHeld = false;
    bool rightHeld = false;
    bool upHeld = false;
    bool downHeld = false;
    /// Debug fly mode: no gravity, free movement.
    bool noClip = false;
    float sequenceTime = 0.0f;

    /// The animation name of a state, or nullptr for Unset and StartSequence.
    const std::string* Animation(PlayerState s) const;
};

void from_json(const nlohmann::json& j, ComponentPlayerControl& control);

/// Keyboard movement, the jump state machine, fly mode, the pause menu and the scripted
/// start, win and death sequences.
class SystemPlayerControl : public System<ComponentPlayerControl, SystemPlayerControl> {
public:
    bool HandleMessage(const Message& message) override;

private:
    void OnKey(const Message& message);
    void OnTrigger(std::string_view name, bool value);
    void Update(float dt);
    void UpdateOne(EntityId entity, ComponentPlayerControl& control, float dt);
    void Walk(EntityId entity, ComponentPlayerControl& control, float dt);
    void ApplyFlyMode(EntityId entity, ComponentPlayerControl& control);
    void PauseMenu(ComponentPlayerControl& control);
    /// Mirrors the sprite; returns whether the facing changed.
    bool Turn(EntityId entity, bool left);
    void TurnEmitters(EntityId entity, bool left);
    void UpdateAnimation(EntityId entity, ComponentPlayerControl& control);
    void SetZ(EntityId entity, float z);
    void SendWalkingSpeed(float value);
};
