#include "game/player/PlayerEffects.h"

#include "audio/MessageAudio.h"
#include "engine/SystemTransform.h"
#include "particle/MessageEmitParticle.h"
#include "particle/SystemParticleEmitter.h"
#include "services/animation/MessageAnimation.h"

void PlayerEffects::StateChanged(const PlayerTuning& t, PlayerState state) const {
    if (const std::string* name = t.Animation(state)) {
        send(MessageSetAnimation(entity, *name, PlayerStateLoops(state), false, 0.0f, 1.0f));
    }
    if (state == PlayerState::Walking) {
        send(MessageEmitParticle(t.RunEffect, true, entity));
        return;
    }
    if (state == PlayerState::JumpLaunch) send(MessageEmitParticle(t.JumpEffect, true, entity));
    send(MessageEmitParticle(t.RunEffect, false, entity));
}

bool PlayerEffects::Face(int direction) const {
    bool flipped = false;
    send(MessageQuery<ComponentTransform>(entity, [&](ComponentTransform& t) {
        if (direction < 0 ? t.scale.x > 0.0f : t.scale.x < 0.0f) {
            t.scale.x = -t.scale.x;
            flipped = true;
        }
    }));
    return flipped;
}

void PlayerEffects::FaceEmitters(int direction) const {
    const float scale = direction < 0 ? -1.0f : 1.0f;
    send(MessageQuery<ComponentParticleEmitter>(entity, [&](ComponentParticleEmitter& e) {
        for (auto& [name, settings] : e.effects) {
            settings.Scale.x = scale;
            settings.TranslationOffset.x = -scale;
        }
    }));
}

void PlayerEffects::WalkingSpeed(float value) const {
    send(MessageAudioParameter("Walking Speed", value));
}

void PlayerEffects::JumpSound(const std::string& event) const {
    send(MessageAudioEvent(event, glm::vec3(0.0f), glm::vec3(0.0f)));
}

void PlayerEffects::Depth(float z) const {
    send(MessageQuery<ComponentTransform>(entity,
                                          [&](ComponentTransform& t) { t.translation.z = z; }));
}
