#include "game/bullets/BulletLife.h"

#include "engine/JsonRead.h"
#include "particle/MessageEmitParticle.h"
#include "services/animation/MessageAnimation.h"

void from_json(const nlohmann::json& j, BulletLife& bullet) {
    json_read::Key(j, "Life Time", bullet.LifeTime);
    json_read::Key(j, "Bullet Animation", bullet.BulletAnimation);
}

void AgeBullet(BulletLife& bullet, EntityId entity, float dt, const SendCallback& send) {
    bullet.LifeTime -= dt;
    if (bullet.LifeTime < 0.0f) {
        send(MessageEmitParticle("Wall Collision", true, entity));
        send(MessageDestroyEntity(entity));
    } else if (!bullet.AnimationStarted) {
        send(MessageSetAnimation(entity, bullet.BulletAnimation, true, false, 0.0f, 1.0f));
        bullet.AnimationStarted = true;
    }
}
