#include "game/player/SystemBulletBehavior.h"

#include "engine/JsonRead.h"
#include "engine/MessageEntity.h"
#include "engine/MessageFrame.h"
#include "particle/MessageEmitParticle.h"
#include "services/animation/MessageAnimation.h"

void from_json(const nlohmann::json& j, ComponentBulletBehavior& bullet) {
    json_read::Key(j, "Life Time", bullet.LifeTime);
    json_read::Key(j, "Bullet Animation", bullet.BulletAnimation);
}

bool SystemBulletBehavior::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    const float dt = static_cast<const MessageUpdate&>(message).dt;
    for (auto& [entity, bullet] : components) {
        bullet.LifeTime -= dt;
        if (bullet.LifeTime < 0.0f) {
            SendMessage(MessageEmitParticle("Wall Collision", true, entity));
            SendMessage(MessageDestroyEntity(entity));
        } else if (!bullet.animationStarted) {
            SendMessage(
                MessageSetAnimation(entity, bullet.BulletAnimation, true, false, 0.0f, 1.0f));
            bullet.animationStarted = true;
        }
    }
    return false;
}
