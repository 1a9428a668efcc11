#include "game/player/ComponentPlayerControl.h"

#include "engine/JsonRead.h"

bool PlayerStateLoops(PlayerState s) {
    return s != PlayerState::JumpLaunch && s != PlayerState::JumpLand &&
           s != PlayerState::FallingDeath && s != PlayerState::Death && s != PlayerState::Win;
}

bool IsPlayerSequence(PlayerState s) {
    return s == PlayerState::FallingDeath || s == PlayerState::Death || s == PlayerState::Win ||
           s == PlayerState::StartSequence;
}

void from_json(const nlohmann::json& j, ComponentPlayerControl& c) {
    using json_read::Key;
    Key(j, "Walk Acceleration", c.WalkAcceleration);
    Key(j, "Walk Speed Max", c.WalkSpeedMax);
    Key(j, "Glide Acceleration", c.GlideAcceleration);
    Key(j, "Jump Velocity", c.JumpVelocity);
    Key(j, "Friction Threshhold", c.FrictionThreshold);
    Key(j, "Friction Multiplier", c.FrictionMultiplier);
    Key(j, "Time to Jump", c.TimeToJump);
    Key(j, "Time to Land", c.TimeToLand);
    Key(j, "Coyote Time", c.CoyoteTime);
    Key(j, "Jump Buffer", c.JumpBuffer);
    Key(j, "Jump Needs New Press", c.JumpNeedsNewPress);
    Key(j, "Jump Cut Multiplier", c.JumpCutMultiplier);
    Key(j, "Glide Fall Speed", c.GlideFallSpeed);
    Key(j, "Jump Sound", c.JumpSound);
    Key(j, "Empty Animation", c.EmptyAnimation);
    Key(j, "Walk Animation", c.WalkAnimation);
    Key(j, "Idle Animation", c.IdleAnimation);
    Key(j, "Hurt Animation", c.HurtAnimation);
    Key(j, "Hurt Animation Ground", c.HurtAnimationGround);
    Key(j, "Aquire Teapot Animation", c.AquireTeapotAnimation);
    Key(j, "Jump Launch Animation", c.JumpLaunchAnimation);
    Key(j, "Jump Rise Animation", c.JumpRiseAnimation);
    Key(j, "Jump Fall Animation", c.JumpFallAnimation);
    Key(j, "Jump Land Animation", c.JumpLandAnimation);
    Key(j, "Run Effect", c.RunEffect);
    Key(j, "Jump Effect", c.JumpEffect);
    Key(j, "Start Sequence Length", c.StartSequenceLength);
    Key(j, "Win Sequence Length", c.WinSequenceLength);
    Key(j, "Death Sequence Length", c.DeathSequenceLength);
    Key(j, "Falling Death Sequence Length", c.FallingDeathSequenceLength);
    Key(j, "Death Freeze Time", c.DeathFreezeTime);
    Key(j, "Start Sequence Back Z-Pos", c.StartSequenceBackZ);
    Key(j, "Start Sequence Front Z-Pos", c.StartSequenceFrontZ);
    Key(j, "Start Run Delay", c.StartRunDelay);
}

const std::string* PlayerTuning::Animation(PlayerState s) const {
    switch (s) {
        case PlayerState::Idle:
            return &IdleAnimation;
        case PlayerState::Braking:
            return &EmptyAnimation;
        case PlayerState::Walking:
            return &WalkAnimation;
        case PlayerState::JumpLaunch:
            return &JumpLaunchAnimation;
        case PlayerState::JumpRise:
            return &JumpRiseAnimation;
        case PlayerState::JumpFall:
            return &JumpFallAnimation;
        case PlayerState::JumpLand:
            return &JumpLandAnimation;
        case PlayerState::FallingDeath:
            return &HurtAnimation;
        case PlayerState::Death:
            return &HurtAnimationGround;
        case PlayerState::Win:
            return &AquireTeapotAnimation;
        default:
            return nullptr;
    }
}
