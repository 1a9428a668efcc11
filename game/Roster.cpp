#include "game/Roster.h"

#include "audio/VornAudio.h"
#include "engine/VornEngine.h"
#include "game/bullets/SystemBulletBehavior.h"
#include "game/bullets/SystemBulletCollision.h"
#include "game/bullets/SystemEnemyBulletBehavior.h"
#include "game/bullets/SystemEnemyBulletCollision.h"
#include "game/camera/SystemCameraControl.h"
#include "game/enemies/SystemEnemyBehavior.h"
#include "game/enemies/SystemEnemyCollision.h"
#include "game/enemies/SystemEnemyShooting.h"
#include "game/goals/SystemCheckpointCollision.h"
#include "game/goals/SystemDoorBehavior.h"
#include "game/goals/SystemObjectiveTracker.h"
#include "game/goals/SystemTeapotCollision.h"
#include "game/hazards/SystemDeathWallBehavior.h"
#include "game/hud/SystemDeathCauseLabel.h"
#include "game/hud/SystemHUDTimeLabel.h"
#include "game/hud/SystemHUDTimer.h"
#include "game/hud/SystemLivesHUD.h"
#include "game/menu/SystemContentErrorLabel.h"
#include "game/menu/SystemPauseMenu.h"
#include "game/menu/SystemTriggerLabel.h"
#include "game/movers/SystemFloatingBehavior.h"
#include "game/movers/SystemRotate.h"
#include "game/movers/SystemTeleport.h"
#include "game/player/SystemPlatformCollision.h"
#include "game/player/SystemPlayerCollision.h"
#include "game/player/SystemPlayerControl.h"
#include "game/player/SystemPlayerHealth.h"
#include "game/player/SystemPlayerShooting.h"
#include "game/presentation/SystemAssetVariant.h"
#include "game/presentation/SystemAudioTransition.h"
#include "game/presentation/SystemColorTransition.h"
#include "game/presentation/SystemPositionTransition.h"
#include "game/presentation/SystemStaticAnimator.h"
#include "game/presentation/SystemTransitionSlide.h"
#include "game/run/SystemRunClock.h"
#include "game/run/SystemRunTimeLabel.h"
#include "game/triggers/SystemTrigger.h"
#include "particle/VornParticle.h"
#include "physics2d/VornPhysics2D.h"
#include "services/animation/VornAnimation.h"
#include "services/graphics/VornGraphics.h"
#include "services/ui/VornUI.h"
#include "tiled/VornTiled.h"

// The order is the dispatch order: every message reaches the systems in this sequence, so a
// new system goes where it must handle its messages before or after the others.
std::vector<std::unique_ptr<SystemBase>> MakeRoster(std::optional<std::uint32_t> variantSeed) {
    std::vector<std::unique_ptr<SystemBase>> roster;
    // One run record for the whole game: every state's clones share it.
    auto run = std::make_shared<RunRecord>();
    roster.push_back(std::make_unique<SystemButton>());
    roster.push_back(std::make_unique<SystemCollisionBox>());
    roster.push_back(std::make_unique<SystemCollisionCircle>());
    roster.push_back(std::make_unique<SystemPhysics>());
    roster.push_back(std::make_unique<SystemSprite>());
    roster.push_back(std::make_unique<SystemTransform>());
    roster.push_back(std::make_unique<SystemBulletCollision>());
    roster.push_back(std::make_unique<SystemEnemyCollision>());
    roster.push_back(std::make_unique<SystemPlayerCollision>());
    roster.push_back(std::make_unique<SystemPlayerControl>());
    roster.push_back(std::make_unique<SystemRotate>());
    // Escape's menu choreography stays next to where the player's keys are handled.
    roster.push_back(std::make_unique<SystemPauseMenu>());
    roster.push_back(std::make_unique<SystemCamera>());
    roster.push_back(std::make_unique<SystemCameraPerspective>());
    roster.push_back(std::make_unique<SystemTileMap>());
    roster.push_back(std::make_unique<SystemPlatformCollision>());
    roster.push_back(std::make_unique<SystemPlayerHealth>());
    roster.push_back(std::make_unique<SystemHUDTimer>());
    // After the clock, so that it counts the update the clock has just counted.
    roster.push_back(std::make_unique<SystemRunClock>(run));
    roster.push_back(std::make_unique<SystemRunTimeLabel>(run));
    roster.push_back(std::make_unique<SystemHUDTimeLabel>());
    roster.push_back(std::make_unique<SystemDeathCauseLabel>());
    roster.push_back(std::make_unique<SystemTriggerLabel>(std::make_shared<TriggerValues>()));
    roster.push_back(std::make_unique<SystemContentErrorLabel>());
    roster.push_back(std::make_unique<SystemEnemyBehavior>());
    roster.push_back(std::make_unique<SystemEnemyShooting>());
    roster.push_back(std::make_unique<SystemEnemyBulletCollision>());
    roster.push_back(std::make_unique<SystemEnemyBulletBehavior>());
    roster.push_back(std::make_unique<SystemDoorBehavior>());
    roster.push_back(std::make_unique<SystemBulletBehavior>());
    roster.push_back(std::make_unique<SystemDeathWallBehavior>());
    roster.push_back(std::make_unique<SystemTrigger>());
    roster.push_back(std::make_unique<SystemFloatingBehavior>());
    roster.push_back(std::make_unique<SystemPlayerShooting>());
    roster.push_back(variantSeed ? std::make_unique<SystemAssetVariant>(*variantSeed)
                                 : std::make_unique<SystemAssetVariant>());
    roster.push_back(std::make_unique<SystemAudioListener>());
    roster.push_back(std::make_unique<SystemAudioSource>());
    roster.push_back(std::make_unique<SystemAnimation>());
    roster.push_back(std::make_unique<SystemCameraControl>());
    roster.push_back(std::make_unique<SystemUIElement>());
    roster.push_back(std::make_unique<SystemTransitionSlide>());
    roster.push_back(std::make_unique<SystemModel>());
    roster.push_back(std::make_unique<SystemObjectiveTracker>());
    roster.push_back(std::make_unique<SystemLivesHUD>());
    roster.push_back(std::make_unique<SystemParticlePool>());
    roster.push_back(std::make_unique<SystemParticlePoolPhysics>());
    roster.push_back(std::make_unique<SystemParticlePoolColor>());
    roster.push_back(std::make_unique<SystemParticlePoolAnimation>());
    roster.push_back(std::make_unique<SystemParticleEmitter>());
    roster.push_back(std::make_unique<SystemParticleEmitterSpread>());
    roster.push_back(std::make_unique<SystemParticleEmitterRectangle>());
    roster.push_back(std::make_unique<SystemStaticAnimator>());
    roster.push_back(std::make_unique<SystemCheckpointCollision>());
    roster.push_back(std::make_unique<SystemTeleport>());
    roster.push_back(std::make_unique<SystemPreload>());
    roster.push_back(std::make_unique<SystemPositionTransition>());
    roster.push_back(std::make_unique<SystemColorTransition>());
    roster.push_back(std::make_unique<SystemTeapotCollision>());
    roster.push_back(std::make_unique<SystemAudioTransition>());
    roster.push_back(std::make_unique<SystemSlider>());
    return roster;
}
