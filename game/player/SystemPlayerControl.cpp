#include "game/player/SystemPlayerControl.h"

#include <cmath>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "game/player/MessagePlayTransitionReloadCheckpoint.h"
#include "particle/MessageEmitParticle.h"
#include "particle/SystemParticleEmitter.h"
#include "physics2d/SystemPhysics.h"
#include "services/animation/MessageAnimation.h"
#include "services/ui/MessageUITrigger.h"

namespace {

constexpr int kSpace = 32;
constexpr int kW = 87;
constexpr int kA = 65;
constexpr int kS = 83;
constexpr int kD = 68;
constexpr int kO = 79;
constexpr int kGrave = 96;
constexpr int kEscape = 256;
constexpr int kRight = 262;
constexpr int kLeft = 263;
constexpr int kDown = 264;
constexpr int kUp = 265;

/// Falling faster than this means the player has left the ground.
constexpr float kLeaveGroundSpeed = -10.0f;
/// Horizontal speed forced during the falling death.
constexpr float kFallingDeathDrift = 10.0f;
constexpr float kFlySpeedFactor = 1.5f;

constexpr const char* kSubMenus[] = {"Options Menu", "How To Play Menu", "Return To Menu Panel",
                                     "Confirmation Menu"};

bool Loops(PlayerState s) {
    return s != PlayerState::JumpLaunch && s != PlayerState::JumpLand &&
           s != PlayerState::FallingDeath && s != PlayerState::Death && s != PlayerState::Win;
}

bool IsSequence(PlayerState s) {
    return s == PlayerState::FallingDeath || s == PlayerState::Death || s == PlayerState::Win ||
           s == PlayerState::StartSequence;
}

}  // namespace

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
    Key(j, "Start Sequence Back Z-Pos", c.StartSequenceBackZ);
    Key(j, "Start Sequence Front Z-Pos", c.StartSequenceFrontZ);
    Key(j, "Start Run Delay", c.StartRunDelay);
}

const std::string* ComponentPlayerControl::Animation(PlayerState s) const {
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

bool SystemPlayerControl::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Key:
            OnKey(message);
            return false;
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            OnTrigger(trigger.name, trigger.value);
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemPlayerControl::OnKey(const Message& message) {
    auto& key = static_cast<const MessageKey&>(message);
    const bool pressed = key.action == MessageKey::kPressed;
    if (!pressed && key.action != MessageKey::kReleased) return;
    for (auto& [entity, control] : components) {
        // Releases always count, so that a key let go during the pause does not stick.
        const bool hold = pressed && !control.paused;
        switch (key.key) {
            case kSpace:
            case kW:
            case kUp:
                if (hold || !pressed) control.upHeld = hold;
                break;
            case kA:
            case kLeft:
                if (hold || !pressed) control.leftHeld = hold;
                break;
            case kD:
            case kRight:
                if (hold || !pressed) control.rightHeld = hold;
                break;
            case kS:
            case kDown:
                if (hold || !pressed) control.downHeld = hold;
                break;
            case kO:
                if (pressed && key.debug) {
                    control.noClip = !control.noClip;
                    ApplyFlyMode(entity, control);
                }
                break;
            case kGrave:
                if (pressed && !key.debug) {
                    control.noClip = false;
                    ApplyFlyMode(entity, control);
                }
                break;
            case kEscape:
                if (pressed) PauseMenu(control);
                break;
            default:
                break;
        }
    }
}

void SystemPlayerControl::ApplyFlyMode(EntityId entity, ComponentPlayerControl& control) {
    SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
        if (control.noClip) {
            control.savedGravity = p.Acceleration.y;
            p.Acceleration.x = p.Acceleration.y = 0.0f;
            p.Velocity.x = p.Velocity.y = 0.0f;
        } else if (control.savedGravity != 0.0f) {
            p.Acceleration.y = control.savedGravity;
        }
    }));
}

void SystemPlayerControl::PauseMenu(ComponentPlayerControl& control) {
    const bool pause = !control.paused;
    SendMessage(MessageUIActiveTrigger("Pause Menu", pause));
    SendMessage(MessageUIVisibleTrigger("Pause Menu", pause));
    // Our own trigger handling sets `paused` on every component before this returns.
    SendMessage(MessageTrigger("Pause", pause));
    if (control.paused) return;
    for (const char* menu : kSubMenus) {
        SendMessage(MessageUIActiveTrigger(menu, false));
        SendMessage(MessageUIVisibleTrigger(menu, false));
    }
}

void SystemPlayerControl::OnTrigger(std::string_view name, bool value) {
    for (auto& [entity, control] : components) {
        if (name == "Starting Sequence") {
            control.state = PlayerState::StartSequence;
            SetZ(entity, control.StartSequenceBackZ);
        } else if (name == "Pause") {
            control.paused = value;
        } else if (name == "Checkpoint Restore") {
            control.state = PlayerState::Unset;
            control.stateTime = 0.0f;
            control.leftHeld = control.rightHeld = control.upHeld = control.downHeld = false;
        } else if (name == "Play Win Animation") {
            control.state = PlayerState::Win;
            UpdateAnimation(entity, control);
            SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
                p.Acceleration.x = 0.0f;
                p.Velocity.x *= 0.5f;
                if (p.Velocity.y > 0.0f) p.Velocity.y *= 0.5f;
            }));
        } else if (name == "Kill Player") {
            if (control.grounded) {
                control.state = PlayerState::Death;
                SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
                    p.Acceleration.x = p.Acceleration.y = 0.0f;
                    p.Velocity.y = 0.0f;
                    p.Velocity.x *= 0.5f;
                }));
            } else {
                control.state = PlayerState::FallingDeath;
            }
            UpdateAnimation(entity, control);
        }
    }
}

void SystemPlayerControl::Update(float dt) {
    for (auto& [entity, control] : components) {
        if (!control.paused) UpdateOne(entity, control, dt);
    }
}

void SystemPlayerControl::UpdateOne(EntityId entity, ComponentPlayerControl& c, float dt) {
    if (c.noClip) {
        c.state = PlayerState::JumpFall;
        const float speed = kFlySpeedFactor * c.WalkSpeedMax;
        int horizontal = 0;
        SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
            horizontal = (c.rightHeld && !c.leftHeld) ? 1 : (c.leftHeld && !c.rightHeld) ? -1 : 0;
            const int vertical = (c.upHeld && !c.downHeld) ? 1 : (c.downHeld && !c.upHeld) ? -1 : 0;
            p.Velocity.x = speed * static_cast<float>(horizontal);
            p.Velocity.y = speed * static_cast<float>(vertical);
        }));
        if (horizontal != 0) Turn(entity, horizontal < 0);
        UpdateAnimation(entity, c);
        return;
    }

    switch (c.state) {
        case PlayerState::Win:
            c.sequenceTime += dt;
            if (c.sequenceTime > c.WinSequenceLength) {
                c.state = PlayerState::Unset;
                c.sequenceTime = 0.0f;
                return;
            }
            SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
                if (p.Velocity.y < kLeaveGroundSpeed) c.grounded = false;
                if (c.grounded) p.Velocity.x = 0.0f;
                SendWalkingSpeed(c.grounded ? std::fabs(p.Velocity.z) : 0.0f);
            }));
            return;
        case PlayerState::FallingDeath:
            c.sequenceTime += dt;
            if (c.sequenceTime > c.FallingDeathSequenceLength) {
                c.sequenceTime = 0.0f;
                SendMessage(MessagePlayTransitionReloadCheckpoint());
                return;
            }
            SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
                p.Velocity.x = p.Velocity.x > 0.0f ? kFallingDeathDrift : -kFallingDeathDrift;
                c.grounded = false;
                SendWalkingSpeed(0.0f);
            }));
            return;
        case PlayerState::Death:
            c.sequenceTime += dt;
            if (c.sequenceTime > c.DeathSequenceLength) {
                c.sequenceTime = 0.0f;
                SendMessage(MessagePlayTransitionReloadCheckpoint());
                return;
            }
            c.grounded = true;
            SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
                p.Velocity.x = 0.0f;
                SendWalkingSpeed(std::fabs(p.Velocity.z));
            }));
            return;
        case PlayerState::StartSequence:
            if (c.sequenceTime <= c.StartSequenceLength) {
                c.state = PlayerState::Walking;
                SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
                    if (p.Velocity.y < kLeaveGroundSpeed) c.grounded = false;
                    SendWalkingSpeed(c.grounded ? std::fabs(p.Velocity.z) : 0.0f);
                }));
            } else {
                c.state = PlayerState::Unset;
                c.sequenceTime = 0.0f;
                SetZ(entity, c.StartSequenceFrontZ);
            }
            return;
        default:
            break;
    }

    c.previousState = c.state;
    c.stateTime += dt;
    SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
        if (p.Velocity.y < kLeaveGroundSpeed) c.grounded = false;
        SendWalkingSpeed(c.grounded ? std::fabs(p.Velocity.x) : 0.0f);
    }));
    if (!IsSequence(c.state)) Walk(entity, c, dt);
}

void SystemPlayerControl::Walk(EntityId entity, ComponentPlayerControl& c, float dt) {
    SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) {
        const bool mayWalk = c.state != PlayerState::JumpLaunch &&
                             (c.state != PlayerState::JumpLand || c.stateTime > c.TimeToLand);
        const bool onlyLeft = c.leftHeld && !c.rightHeld;
        const bool onlyRight = c.rightHeld && !c.leftHeld;
        if (onlyLeft || onlyRight) {
            if (Turn(entity, onlyLeft)) TurnEmitters(entity, onlyLeft);
            const float sign = onlyLeft ? -1.0f : 1.0f;
            if (c.grounded) {
                if (mayWalk) c.state = PlayerState::Walking;
                p.Acceleration.x += sign * dt * c.WalkAcceleration;
            } else {
                p.Acceleration.x += sign * dt * c.GlideAcceleration;
            }
        } else if (!c.grounded) {
            p.Acceleration.x = 0.0f;
        } else {
            const float v = p.Velocity.x;
            if (v > c.FrictionThreshold || v < -c.FrictionThreshold) {
                if (mayWalk) c.state = PlayerState::Braking;
                p.Acceleration.x = -v * c.FrictionMultiplier * dt;
            } else if (c.state != PlayerState::JumpLaunch) {
                p.Velocity.x = 0.0f;
                p.Acceleration.x = 0.0f;
                if (c.state != PlayerState::JumpLand || c.stateTime > c.TimeToLand) {
                    c.state = PlayerState::Idle;
                }
            }
        }

        if (c.state == PlayerState::JumpLaunch && c.stateTime > c.TimeToJump) {
            c.grounded = false;
            SendMessage(MessageAudioEvent(c.JumpSound, glm::vec3(0.0f), glm::vec3(0.0f)));
            p.Velocity.y = c.JumpVelocity;
            c.state = PlayerState::JumpRise;
        }
        if (!c.grounded && p.Velocity.y < 0.0f) c.state = PlayerState::JumpFall;
        if (c.upHeld && c.grounded) c.state = PlayerState::JumpLaunch;

        UpdateAnimation(entity, c);

        if (p.Velocity.x > c.WalkSpeedMax) {
            p.Velocity.x = c.WalkSpeedMax;
            p.Acceleration.x = 0.0f;
        } else if (p.Velocity.x < -c.WalkSpeedMax) {
            p.Velocity.x = -c.WalkSpeedMax;
            p.Acceleration.x = 0.0f;
        }
        if (p.Velocity.y > c.JumpVelocity) {
            p.Velocity.y = c.JumpVelocity;
        } else if (p.Velocity.y < -c.JumpVelocity) {
            p.Velocity.y = -c.JumpVelocity;
        }
    }));
}

bool SystemPlayerControl::Turn(EntityId entity, bool left) {
    bool flipped = false;
    SendMessage(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
        if (left ? t.scale.x > 0.0f : t.scale.x < 0.0f) {
            t.scale.x = -t.scale.x;
            flipped = true;
        }
    }));
    return flipped;
}

void SystemPlayerControl::TurnEmitters(EntityId entity, bool left) {
    const float scale = left ? -1.0f : 1.0f;
    SendMessage(MessageQuery<ComponentParticleEmitter>(entity, [&](ComponentParticleEmitter& e) {
        for (auto& [name, settings] : e.effects) {
            settings.Scale.x = scale;
            settings.TranslationOffset.x = -scale;
        }
    }));
}

void SystemPlayerControl::UpdateAnimation(EntityId entity, ComponentPlayerControl& c) {
    if (c.previousState == c.state) return;
    if (const std::string* name = c.Animation(c.state)) {
        SendMessage(MessageSetAnimation(entity, *name, Loops(c.state), false, 0.0f, 1.0f));
    }
    if (c.state == PlayerState::Walking) {
        SendMessage(MessageEmitParticle(c.RunEffect, true, entity));
    } else {
        if (c.state == PlayerState::JumpLaunch) {
            SendMessage(MessageEmitParticle(c.JumpEffect, true, entity));
        }
        SendMessage(MessageEmitParticle(c.RunEffect, false, entity));
    }
    c.stateTime = 0.0f;
}

void SystemPlayerControl::SetZ(EntityId entity, float z) {
    SendMessage(MessageQuery<ComponentTransform>(
        entity, [&](ComponentTransform& t) { t.translation.z = z; }));
}

void SystemPlayerControl::SendWalkingSpeed(float value) {
    SendMessage(MessageAudioParameter("Walking Speed", value));
}
