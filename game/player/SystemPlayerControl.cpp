#include "game/player/SystemPlayerControl.h"

#include "engine/MessageFrame.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"
#include "game/player/MessagePlayTransitionReloadCheckpoint.h"
#include "game/player/PlayerEffects.h"
#include "game/player/PlayerInput.h"
#include "game/player/PlayerMovement.h"
#include "game/player/PlayerSequences.h"
#include "game/vocabulary/GameTriggers.h"
#include "physics2d/SystemPhysics.h"

bool SystemPlayerControl::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            return false;
        case MessageId::Key:
            OnKey(static_cast<const MessageKey&>(message));
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

void SystemPlayerControl::OnKey(const MessageKey& key) {
    const bool pressed = key.action == MessageKey::kPressed;
    if (!pressed && key.action != MessageKey::kReleased) return;
    const PlayerKey meaning = MapPlayerKey(key.key);
    for (auto& [entity, control] : components) {
        if (meaning == PlayerKey::ToggleFly) {
            if (pressed && key.debug) {
                control.noClip = !control.noClip;
                ApplyFlyMode(entity, control);
            }
        } else if (meaning == PlayerKey::LeaveDebug) {
            if (pressed && !key.debug) {
                control.noClip = false;
                ApplyFlyMode(entity, control);
            }
        } else {
            ApplyMovementKey(control, meaning, pressed, control.paused);
        }
    }
}

void SystemPlayerControl::ApplyFlyMode(EntityId entity, ComponentPlayerControl& control) {
    ComponentPhysics* p = Body(entity);
    if (!p) return;
    if (control.noClip) {
        control.savedGravity = p->Acceleration.y;
        p->Acceleration.x = p->Acceleration.y = 0.0f;
        p->Velocity.x = p->Velocity.y = 0.0f;
    } else if (control.savedGravity != 0.0f) {
        p->Acceleration.y = control.savedGravity;
    }
}

void SystemPlayerControl::OnTrigger(std::string_view name, bool value) {
    for (auto& [entity, control] : components) {
        if (name == trigger::StartingSequence) {
            BeginEntrance(control);
            PlayerEffects(SendMessage, entity).Depth(control.StartSequenceBackZ);
        } else if (name == trigger::Pause) {
            control.paused = value;
        } else if (name == trigger::CheckpointRestore) {
            EndDeathFreeze(control, Body(entity));
            control.state = PlayerState::Unset;
            control.stateTime = 0.0f;
            control.leftHeld = control.rightHeld = control.upHeld = control.downHeld = false;
            control.jumpPending = false;
        } else if (name == trigger::PlayWinAnimation) {
            control.state = PlayerState::Win;
            UpdateAnimation(entity, control);
            BeginWin(control, Body(entity));
        } else if (name == trigger::KillPlayer) {
            BeginDeath(control, Body(entity));
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
    const PlayerEffects effects(SendMessage, entity);
    ComponentPhysics* body = Body(entity);
    if (StepEntrance(c, dt)) effects.Depth(c.StartSequenceFrontZ);

    if (c.noClip) {
        c.state = PlayerState::JumpFall;
        const int facing = body ? FlyVelocity(c, c, *body) : 0;
        if (facing != 0) effects.Face(facing);
        UpdateAnimation(entity, c);
        return;
    }

    if (const auto step = StepSequence(c, body, dt)) {
        if (step->walkingSpeed) effects.WalkingSpeed(*step->walkingSpeed);
        if (step->reloadCheckpoint) SendMessage(MessagePlayTransitionReloadCheckpoint());
        return;
    }

    if (!body) {
        c.previousState = c.state;
        c.stateTime += dt;
        return;
    }
    const MovementStep step = StepMovement(c, c, c, *body, dt);
    effects.WalkingSpeed(step.walkingSpeed);
    if (step.facing != 0 && effects.Face(step.facing)) effects.FaceEmitters(step.facing);
    if (step.tookOff) effects.JumpSound(c.JumpSound);
    if (step.stateChanged) effects.StateChanged(c, c.state);
}

void SystemPlayerControl::UpdateAnimation(EntityId entity, ComponentPlayerControl& c) {
    if (EnterState(c)) PlayerEffects(SendMessage, entity).StateChanged(c, c.state);
}

ComponentPhysics* SystemPlayerControl::Body(EntityId entity) {
    ComponentPhysics* body = nullptr;
    SendMessage(MessageQuery<ComponentPhysics>(entity, [&](ComponentPhysics& p) { body = &p; }));
    return body;
}
