#include "game/Roster.h"

#include "audio/VornAudio.h"
#include "engine/VornEngine.h"
#include "game/camera/SystemCameraControl.h"
#include "game/player/SystemBulletBehavior.h"
#include "game/player/SystemBulletCollision.h"
#include "game/player/SystemPlatformCollision.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "game/player/SystemPlayerHealth.h"
#include "game/player/SystemPlayerShooting.h"
#include "game/presentation/SystemAudioTransition.h"
#include "game/presentation/SystemColorTransition.h"
#include "game/presentation/SystemPositionTransition.h"
#include "game/presentation/SystemTransitionSlide.h"
#include "particle/VornParticle.h"
#include "physics2d/VornPhysics2D.h"
#include "services/animation/VornAnimation.h"
#include "services/graphics/VornGraphics.h"
#include "services/ui/VornUI.h"
#include "tiled/VornTiled.h"

// The order is the dispatch order: every message reaches the systems in this sequence, so a
// new system goes where it must handle its messages before or after the others.
std::vector<std::unique_ptr<SystemBase>> MakeRoster() {
    std::vector<std::unique_ptr<SystemBase>> roster;
    roster.push_back(std::make_unique<SystemButton>());
    roster.push_back(std::make_unique<SystemCollisionBox>());
    roster.push_back(std::make_unique<SystemCollisionCircle>());
    roster.push_back(std::make_unique<SystemPhysics>());
    roster.push_back(std::make_unique<SystemSprite>());
    roster.push_back(std::make_unique<SystemTransform>());
    roster.push_back(std::make_unique<SystemBulletCollision>());
    roster.push_back(std::make_unique<SystemPlayerCollision>());
    roster.push_back(std::make_unique<SystemPlayerControl>());
    roster.push_back(std::make_unique<SystemCamera>());
    roster.push_back(std::make_unique<SystemCameraPerspective>());
    roster.push_back(std::make_unique<SystemTileMap>());
    roster.push_back(std::make_unique<SystemPlatformCollision>());
    roster.push_back(std::make_unique<SystemPlayerHealth>());
    roster.push_back(std::make_unique<SystemBulletBehavior>());
    roster.push_back(std::make_unique<SystemPlayerShooting>());
    roster.push_back(std::make_unique<SystemAudioListener>());
    roster.push_back(std::make_unique<SystemAudioSource>());
    roster.push_back(std::make_unique<SystemAnimation>());
    roster.push_back(std::make_unique<SystemCameraControl>());
    roster.push_back(std::make_unique<SystemUIElement>());
    roster.push_back(std::make_unique<SystemTransitionSlide>());
    roster.push_back(std::make_unique<SystemModel>());
    roster.push_back(std::make_unique<SystemParticlePool>());
    roster.push_back(std::make_unique<SystemParticlePoolPhysics>());
    roster.push_back(std::make_unique<SystemParticlePoolColor>());
    roster.push_back(std::make_unique<SystemParticlePoolAnimation>());
    roster.push_back(std::make_unique<SystemParticleEmitter>());
    roster.push_back(std::make_unique<SystemParticleEmitterSpread>());
    roster.push_back(std::make_unique<SystemParticleEmitterRectangle>());
    roster.push_back(std::make_unique<SystemPreload>());
    roster.push_back(std::make_unique<SystemPositionTransition>());
    roster.push_back(std::make_unique<SystemColorTransition>());
    roster.push_back(std::make_unique<SystemAudioTransition>());
    roster.push_back(std::make_unique<SystemSlider>());
    return roster;
}
