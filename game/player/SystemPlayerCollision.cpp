#include "game/player/SystemPlayerCollision.h"

#include <algorithm>
#include <cmath>

#include "audio/MessageAudio.h"
#include "engine/JsonRead.h"
#include "engine/KeyCodes.h"
#include "engine/MessageKey.h"
#include "engine/MessageTrigger.h"
#include "engine/SystemTransform.h"
#include "engine/TriggerNames.h"
#include "game/player/MessagePlayTransitionReloadCheckpoint.h"
#include "game/player/SystemPlayerControl.h"
#include "game/vocabulary/ContactQuestions.h"
#include "game/vocabulary/GameTriggers.h"
#include "particle/MessageEmitParticle.h"
#include "physics2d/MessageCollision.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemPhysics.h"
#include "services/animation/MessageAnimation.h"
#include "tiled/MessageCollisionTile.h"

namespace {

/// Rounding in the push-out leaves a player standing on a one-way platform a hair below its
/// top; without this slack it would sink through the platform after a few frames.
constexpr float kPlatformSlack = 1e-3f;

/// The tile pass measures every tile against the box's position before any push, so a box
/// over two tiles would be pushed twice. Measure again from where the box is now: the part of
/// `push` still needed to clear the tile along that axis, and nothing once it is clear.
float LivePush(float push, float centre, float half, float tileCentre, float tileHalf) {
    if (push > 0.0f) return std::clamp((tileCentre + tileHalf) - (centre - half), 0.0f, push);
    if (push < 0.0f) return std::clamp((tileCentre - tileHalf) - (centre + half), push, 0.0f);
    return 0.0f;
}

}  // namespace

void from_json(const nlohmann::json& j, ComponentPlayerCollider& c) {
    json_read::Key(j, "Land Sound", c.LandSound);
    json_read::Key(j, "Collision Sound", c.CollisionSound);
    json_read::Key(j, "Hurt Sound", c.HurtSound);
    json_read::Key(j, "Land Effect", c.LandEffect);
    json_read::Key(j, "Unhurt While Collecting", c.UnhurtWhileCollecting);
}

bool SystemPlayerCollision::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            OutOfBoundsCheck();
            return false;
        case MessageId::Key:
            OnKey(message);
            return false;
        case MessageId::ContactFacts:
            return contact::Answer(message, components,
                                   [](ContactFacts& facts, const ComponentPlayerCollider& c) {
                                       facts.player = true;
                                       facts.playerHurt = c.hurt;
                                   });
        case MessageId::Collision: {
            if (collisionsOff) return false;
            auto& contact = static_cast<const MessageCollision&>(message);
            if (components.count(contact.Entity)) {
                EnemyContact(contact.Entity, contact.Other);
                DeathWallContact(contact.Entity, contact.Other);
            }
            return false;
        }
        case MessageId::CollisionTile: {
            if (collisionsOff) return false;
            auto& contact = static_cast<const MessageCollisionTile&>(message);
            if (components.count(contact.Entity)) {
                TileContact(contact.Entity, contact.Tile, contact.TileMap);
            }
            return false;
        }
        case MessageId::Trigger:
            if (static_cast<const MessageTrigger&>(message).name == trigger::CheckpointRestore) {
                for (auto& [entity, collider] : components) {
                    collider.hurt = false;
                    collider.causeTold = false;
                }
            }
            return false;
        default:
            return System::HandleMessage(message);
    }
}

void SystemPlayerCollision::OnKey(const Message& message) {
    auto& key = static_cast<const MessageKey&>(message);
    if (key.action != MessageKey::kPressed) return;
    if (key.debug && key.key == keycode::P) {
        for (auto& [entity, collider] : components) collider.invincible = !collider.invincible;
    } else if (key.debug && key.key == keycode::O) {
        collisionsOff = !collisionsOff;
    } else if (!key.debug && key.key == keycode::Grave) {
        for (auto& [entity, collider] : components) collider.invincible = false;
        collisionsOff = false;
    }
}

void SystemPlayerCollision::OutOfBoundsCheck() {
    for (auto& [entity, collider] : components) {
        bool below = false;
        SendMessage(MessageQuery<ComponentTransform>(
            entity, [&](ComponentTransform& t) { below = t.translation.y < kOutOfBoundsY; }));
        if (!below) continue;
        // A body already killed falls out of the level too, but was not killed by the fall.
        if (!collider.hurt) TellCause(collider, trigger::FellIntoPit);
        SendMessage(MessagePlayTransitionReloadCheckpoint());
    }
}

void SystemPlayerCollision::DeathWallContact(EntityId player, EntityId other) {
    if (components.at(player).invincible) return;
    if (!contact::Ask(SendMessage, other).deathWall) return;
    // Looked up again: the question may have reached handlers that add components.
    ComponentPlayerCollider& collider = components.at(player);
    collider.hurt = true;
    collider.deathWallHit = true;
    TellCause(collider, trigger::CaughtByDeathWall);
    SendMessage(MessagePlayTransitionReloadCheckpoint());
}

void SystemPlayerCollision::TellCause(ComponentPlayerCollider& collider, std::string_view cause) {
    if (collider.causeTold) return;
    collider.causeTold = true;
    SendMessage(MessageTrigger(cause, true));
}

void SystemPlayerCollision::TileContact(EntityId player, const Tile& tile,
                                        const ComponentTileMap& map) {
    ComponentPlayerCollider& collider = components.at(player);
    if (collider.hurt && !collider.deathWallHit) return;

    if (tile.Type.canJumpThrough) {
        bool fromAbove = false;
        SendMessage(MessageQuery<ComponentCollisionBox>(player, [&](ComponentCollisionBox& box) {
            SendMessage(MessageQuery<ComponentPhysics>(player, [&](ComponentPhysics& p) {
                const float top = tile.Transform.translation.y + tile.Collider.Size.y;
                const float previousBottom = p.PreviousTranslation.y - box.Size.y;
                fromAbove = p.Velocity.y <= 0.0f && top <= previousBottom + kPlatformSlack;
            }));
        }));
        if (fromAbove) Wall(player, tile, map);
    } else if (tile.Type.pit) {
        const bool alive = !collider.hurt;
        collider.hurt = true;
        if (alive) TellCause(collider, trigger::FellIntoPit);
        SendMessage(MessagePlayTransitionReloadCheckpoint());
    } else if (tile.Type.killsPlayer) {
        if (!collider.hurt) HurtByTile(player, collider);
    } else {
        Wall(player, tile, map);
    }
}

void SystemPlayerCollision::HurtByTile(EntityId player, ComponentPlayerCollider& collider) {
    SendMessage(MessageAudioEvent(collider.HurtSound, glm::vec3(0.0f), glm::vec3(0.0f)));
    float penetrationX = 0.0f;
    SendMessage(MessageQuery<ComponentCollisionBox>(
        player, [&](ComponentCollisionBox& box) { penetrationX = box.Penetration.x; }));
    SendMessage(MessageQuery<ComponentPhysics>(player, [&](ComponentPhysics& p) {
        p.Velocity.y = kHurtJumpSpeed;
        p.Velocity.x = penetrationX > 0.0f ? kHurtPushSpeed : -kHurtPushSpeed;
    }));
    SendMessage(MessageQuery<ComponentTransform>(
        player, [&](ComponentTransform& t) { t.translation.z = kHurtZ; }));
    // Looked up again: the sends above may have reached handlers that add components.
    components.at(player).hurt = true;
    TellCause(components.at(player), trigger::KilledByHazard);
    SendMessage(MessageTrigger(trigger::KillPlayer, true));
}

void SystemPlayerCollision::Wall(EntityId player, const Tile& tile, const ComponentTileMap& map) {
    glm::vec2 push{0.0f};
    glm::vec2 half{0.0f};
    bool hasBox = false;
    SendMessage(MessageQuery<ComponentCollisionBox>(player, [&](ComponentCollisionBox& box) {
        hasBox = true;
        push = box.Penetration;
        half = box.Size;
    }));
    if (!hasBox) return;
    const int column = push.x <= 0.0f ? tile.Column - 1 : tile.Column + 1;
    const bool sidewaysBlocked = map.Lookup(tile.Layer, tile.Row, column).Type.isCollidable;
    // A fast landing across two floor tiles overlaps each less sideways than it sinks into
    // them (a fall of 0.35 units in one frame is enough at a low frame rate). The sideways way
    // out leads into the next floor tile, so take the vertical one rather than none: with none,
    // the player sinks into the ground and falls through it.
    if (std::fabs(push.x) <= std::fabs(push.y) && !(sidewaysBlocked && push.y > 0.0f)) {
        if (sidewaysBlocked) return;
        SendMessage(MessageQuery<ComponentTransform>(player, [&](ComponentTransform& t) {
            t.translation.x += LivePush(push.x, t.translation.x, half.x,
                                        tile.Transform.translation.x, tile.Collider.Size.x);
        }));
        SendMessage(MessageQuery<ComponentPhysics>(player, [&](ComponentPhysics& p) {
            if ((push.x > 0.0f && p.Velocity.x < 0.0f) || (push.x < 0.0f && p.Velocity.x > 0.0f)) {
                p.Velocity.x = 0.0f;
            }
        }));
        return;
    }

    // Rows count downwards, so an upward push looks at the row above.
    const int row = push.y <= 0.0f ? tile.Row + 1 : tile.Row - 1;
    if (map.Lookup(tile.Layer, row, tile.Column).Type.isCollidable) return;
    SendMessage(MessageQuery<ComponentTransform>(player, [&](ComponentTransform& t) {
        t.translation.y += LivePush(push.y, t.translation.y, half.y, tile.Transform.translation.y,
                                    tile.Collider.Size.y);
    }));
    bool rising = false;
    SendMessage(MessageQuery<ComponentPlayerControl>(
        player, [&](ComponentPlayerControl& c) { rising = c.state == PlayerState::JumpRise; }));
    bool landed = false;
    SendMessage(MessageQuery<ComponentPhysics>(player, [&](ComponentPhysics& p) {
        // The take-off frame still overlaps the floor; keep its upward speed.
        if (!(push.y >= 0.0f && rising)) p.Velocity.y = 0.0f;
        landed = push.y > 0.0f && p.Velocity.y <= 0.0f;
    }));
    if (landed) Land(player, tile);
}

void SystemPlayerCollision::Land(EntityId player, const Tile& tile) {
    const bool platform = tile.Type.canJumpThrough;
    SendMessage(MessageAudioParameter("GroundTexture", platform ? 1.0f : 0.0f));
    SendMessage(MessageQuery<ComponentPlayerControl>(player, [&](ComponentPlayerControl& c) {
        if (!c.grounded && c.state == PlayerState::JumpFall) {
            c.state = PlayerState::JumpLand;
            SendMessage(MessageSetAnimation(player, c.JumpLandAnimation, true, false, 0.0f, 1.0f));
            c.stateTime = 0.0f;
            // Copied: the player collider is read while this callback holds the controller.
            auto it = components.find(player);
            if (it != components.end()) {
                const ComponentPlayerCollider collider = it->second;
                SendMessage(
                    MessageAudioEvent(collider.LandSound, glm::vec3(0.0f), glm::vec3(0.0f)));
                if (platform) SendMessage(MessageEmitParticle(collider.LandEffect, true, player));
            }
        }
        c.grounded = true;
    }));
}
