#include "game/player/SystemPlatformCollision.h"

#include <cmath>

#include "engine/SystemTransform.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "physics2d/MessageCollision.h"
#include "physics2d/SystemCollisionBox.h"
#include "physics2d/SystemPhysics.h"

bool SystemPlatformCollision::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Collision: {
            auto& collision = static_cast<const MessageCollision&>(message);
            if (!components.count(collision.Entity)) return false;
            const EntityId player = collision.Other;
            bool isPlayer = false;
            SendMessage(MessageQuery<ComponentPlayerCollider>(
                player, [&](ComponentPlayerCollider&) { isPlayer = true; }));
            if (!isPlayer) return false;
            glm::vec2 push{0.0f};
            SendMessage(MessageQuery<ComponentCollisionBox>(
                player, [&](ComponentCollisionBox& box) { push = box.Penetration; }));
            const bool sideways = std::fabs(push.x) < std::fabs(push.y);
            SendMessage(MessageQuery<ComponentTransform>(player, [&](ComponentTransform& t) {
                if (sideways) {
                    t.translation.x += push.x;
                } else {
                    t.translation.y += push.y;
                }
            }));
            SendMessage(MessageQuery<ComponentPhysics>(player, [&](ComponentPhysics& p) {
                if (sideways) {
                    p.Velocity.x = 0.0f;
                } else if (push.y * p.Velocity.y < 0.0f) {
                    // Only motion into the platform stops: a jump off it keeps its speed.
                    p.Velocity.y = 0.0f;
                }
            }));
            // Pushed up out of the platform: the player stands on it and may jump off it again,
            // as from the ground.
            if (!sideways && push.y > 0.0f) {
                SendMessage(
                    MessageQuery<ComponentPlayerControl>(player, [](ComponentPlayerControl& c) {
                        if (!c.grounded && c.state == PlayerState::JumpFall) {
                            c.state = PlayerState::JumpLand;
                            c.stateTime = 0.0f;
                        }
                        c.grounded = true;
                    }));
            }
            return false;
        }
        case MessageId::AddComponentJSON: {
            // Any value marks a platform, not only objects.
            auto& add = static_cast<const MessageAddComponentJSON&>(message);
            if (add.component != ComponentPlatformCollider::kName) return false;
            components[add.entity] = ComponentPlatformCollider{};
            return true;
        }
        default:
            return System::HandleMessage(message);
    }
}
