#include "game/hazards/SystemDeathWallBehavior.h"

#include <algorithm>
#include <cmath>

#include "audio/MessageAudio.h"
#include "audio/SystemAudioSource.h"
#include "engine/IdOrder.h"
#include "engine/JsonRead.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "engine/TriggerNames.h"
#include "game/camera/SystemCameraControl.h"
#include "game/vocabulary/ContactQuestions.h"
#include "game/vocabulary/GameTriggers.h"
#include "particle/MessageEmitParticle.h"
#include "particle/SystemParticleEmitter.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemPhysics.h"

void from_json(const nlohmann::json& j, ComponentDeathWallBehavior& w) {
    json_read::Key(j, "Base Speed", w.BaseSpeed);
    json_read::Key(j, "Speed 1", w.Speed1);
    json_read::Key(j, "Distance 1", w.Distance1);
    json_read::Key(j, "Speed 2", w.Speed2);
    json_read::Key(j, "Distance 2", w.Distance2);
    json_read::Key(j, "Positive Acceleration", w.PositiveAcceleration);
    json_read::Key(j, "Negative Acceleration", w.NegativeAcceleration);
    json_read::Key(j, "Distance Sound", w.DistanceSound);
    json_read::Key(j, "Distance Sound Parameter", w.DistanceSoundParameter);
    json_read::Key(j, "Distance Sound Multiplier", w.DistanceSoundMultiplier);
    json_read::Key(j, "Effects", w.Effects);
    json_read::Key(j, "Noise Effect", w.NoiseEffect);
    json_read::Key(j, "Noise Spawn Rate", w.NoiseSpawnRate);
}

bool SystemDeathWallBehavior::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update();
            return false;
        case MessageId::ContactFacts:
            return contact::Answer(message, components, [](ContactFacts& facts, const auto&) {
                facts.deathWall = true;
            });
        case MessageId::ListenerPosition:
            CalculateDistanceToPlayer(
                static_cast<const MessageListenerPosition&>(message).position);
            return false;
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (trigger.name == trigger::DeathWall && trigger.value) SwitchOn();
            if (trigger.name == trigger::CheckpointRestore) OnRestore();
            return false;
        }
        default:
            return System::HandleMessage(message);
    }
}

void SystemDeathWallBehavior::Update() {
    ForEachInIdOrder(components, [&](EntityId id, auto& entry) {
        if (!entry.Active) return;
        ComponentDeathWallBehavior& wall = entry;
        wall.TargetSpeed = wall.SpeedFor(wall.DistanceToPlayer);
        const float target = wall.TargetSpeed;
        const float faster = wall.NegativeAcceleration;
        const float slower = wall.PositiveAcceleration;
        SendMessage(MessageQuery<ComponentPhysics>(id, [&](ComponentPhysics& p) {
            p.Acceleration.x = p.Velocity.x > target ? faster : slower;
        }));
    });
}

void SystemDeathWallBehavior::CalculateDistanceToPlayer(const glm::vec3& position) {
    // Several walls write the same parameter and shake: walked from the highest id down, the
    // lowest id has the last word whatever the table's order.
    std::vector<EntityId> ids = SortedIds(components);
    std::reverse(ids.begin(), ids.end());
    for (EntityId id : ids) {
        bool hasTransform = false;
        bool hasBox = false;
        float wallX = 0.0f;
        float halfWidth = 0.0f;
        SendMessage(MessageQuery<ComponentTransform>(id, [&](ComponentTransform& t) {
            hasTransform = true;
            wallX = t.translation.x;
        }));
        SendMessage(MessageQuery<ComponentCollisionBox>(id, [&](ComponentCollisionBox& b) {
            hasBox = true;
            halfWidth = b.Size.x;
        }));
        auto it = components.find(id);
        if (!hasTransform || !hasBox || it == components.end()) continue;
        it->second.DistanceToPlayer = std::fabs(position.x - wallX) - halfWidth;
        const ComponentDeathWallBehavior wall = it->second;
        const float gap = wall.DistanceToPlayer;

        SendMessage(
            MessageAudioParameter(wall.DistanceSoundParameter, wall.DistanceSoundMultiplier * gap));
        SendMessage(MessageQuery<ComponentParticleEmitter>(id, [&](ComponentParticleEmitter& e) {
            // An emitter without the noise effect is left alone rather than failing the lookup.
            auto effect = e.effects.find(wall.NoiseEffect);
            if (effect == e.effects.end()) return;
            effect->second.SpawnRate = std::max(wall.NoiseSpawnRate, wall.NoiseSpawnRate * gap);
        }));
        const float k = std::max(0.0f, 1.0f - wall.DistanceSoundMultiplier * gap);
        SendMessage(MessageQueryContainer<ComponentCameraControl>(
            [&](std::unordered_map<EntityId, ComponentCameraControl>& cameras) {
                for (auto& [camera, control] : cameras) {
                    control.ShakeAmplitude = k * control.BaseShakeAmplitude;
                    control.ShakeModulationAmplitude = k * control.BaseShakeModulationAmplitude;
                }
            }));
    }
}

void SystemDeathWallBehavior::SwitchOn() {
    ForEachInIdOrder(components, [&](EntityId id, auto& entry) {
        entry.Active = true;
        const ComponentDeathWallBehavior wall = entry;
        SendMessage(MessageAudioEvent(wall.DistanceSound, glm::vec3(0.0f), glm::vec3(0.0f)));
        for (const std::string& effect : wall.Effects) {
            SendMessage(MessageEmitParticle(effect, true, id));
        }
        SendMessage(MessageEmitParticle(wall.NoiseEffect, true, id));
    });
}

void SystemDeathWallBehavior::OnRestore() {
    for (EntityId id : SortedIds(components)) {
        std::string destroySound;
        bool hasSource = false;
        SendMessage(MessageQuery<ComponentAudioSource>(id, [&](ComponentAudioSource& source) {
            hasSource = true;
            destroySound = source.destroySound;
        }));
        if (hasSource) {
            SendMessage(MessageAudioEvent(destroySound, glm::vec3(0.0f), glm::vec3(0.0f)));
        }
        // The stop above silences the rumble of a chase that was already on when the
        // checkpoint was saved; start it again for such a wall.
        auto it = components.find(id);
        if (it != components.end() && it->second.Active) {
            const std::string sound = it->second.DistanceSound;
            SendMessage(MessageAudioEvent(sound, glm::vec3(0.0f), glm::vec3(0.0f)));
        }
    }
}
