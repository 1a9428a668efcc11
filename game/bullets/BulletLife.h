#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "engine/Manager.h"
#include "engine/MessageEntity.h"

/// What the player's and the enemies' bullets share: a life that runs out and a looping
/// animation started on the bullet's first frame.
struct BulletLife {
    /// Seconds left; the bullet expires once it drops below 0.
    float LifeTime = 0.0f;
    std::string BulletAnimation = "animation";
    bool AnimationStarted = false;
};

void from_json(const nlohmann::json& j, BulletLife& bullet);

/// Ages one bullet by `dt`: an expired bullet puffs its "Wall Collision" effect and is
/// destroyed; a live one starts its animation once.
void AgeBullet(BulletLife& bullet, EntityId entity, float dt, const SendCallback& send);
