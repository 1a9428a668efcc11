#include "game/bullets/SystemBulletBehavior.h"

#include "engine/MessageFrame.h"

bool SystemBulletBehavior::HandleMessage(const Message& message) {
    if (message.TypeId() != MessageId::Update) return System::HandleMessage(message);
    const float dt = static_cast<const MessageUpdate&>(message).dt;
    for (auto& [entity, bullet] : components) AgeBullet(bullet, entity, dt, SendMessage);
    return false;
}
