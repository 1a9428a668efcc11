#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/System.h"

struct Tile;
struct ComponentTileMap;

/// The player's side of collisions: sounds and effects, and the flags that enemies, hazards,
/// goals and the HUD read.
struct ComponentPlayerCollider {
    static constexpr std::string_view kName = "Player Collision Handler";

    std::string LandSound;
    /// Kept for content; nothing plays it.
    std::string CollisionSound;
    std::string HurtSound;
    /// Emitter started on landing on a one-way platform.
    std::string LandEffect;
    /// Enemies and their bullets pass harmlessly while the player plays the teapot's win
    /// animation, during which it cannot be steered.
    bool UnhurtWhileCollecting = false;

    /// Cleared by the countdown at the first enemy contact.
    bool timePenaltyPending = true;
    /// Debug: enemies, enemy bullets and the death wall do nothing.
    bool invincible = false;
    /// Hurt or killed since the last checkpoint restore; a hurt player falls through tiles.
    bool hurt = false;
    bool deathWallHit = false;
    /// The cause of this death was named (a contact that lasts names it once).
    bool causeTold = false;
};

void from_json(const nlohmann::json& j, ComponentPlayerCollider& collider);

/// What the player's box touching a tile means: walls and floors with the neighbour rule,
/// one-way platforms, hazard tiles and pits; the fall out of the level; and contacts with
/// enemies and enemy bullets.
class SystemPlayerCollision : public System<ComponentPlayerCollider, SystemPlayerCollision> {
public:
    bool HandleMessage(const Message& message) override;

    /// Below this height the player has left the level.
    static constexpr float kOutOfBoundsY = -100.0f;

    /// Debug: every contact message is ignored.
    bool collisionsOff = false;

private:
    /// A hurt player is thrown up and away from what hurt it, and drawn in front of the level
    /// while it falls through it.
    static constexpr float kHurtJumpSpeed = 25.0f;
    static constexpr float kHurtPushSpeed = 10.0f;
    static constexpr float kHurtZ = 9.0f;

    void OnKey(const Message& message);
    void OutOfBoundsCheck();
    /// The death wall catches the player: the checkpoint reload follows at once.
    void DeathWallContact(EntityId player, EntityId other);
    void HurtByTile(EntityId player, ComponentPlayerCollider& collider);
    /// Sends the trigger that names the cause of this death, once per death.
    void TellCause(ComponentPlayerCollider& collider, std::string_view cause);
    /// Enemies that are not yet hit and enemy bullets hurt; a bullet ends on the player.
    void EnemyContact(EntityId player, EntityId other);
    void HurtByContact(EntityId player, EntityId other);
    void TileContact(EntityId player, const Tile& tile, const ComponentTileMap& map);
    void Wall(EntityId player, const Tile& tile, const ComponentTileMap& map);
    void Land(EntityId player, const Tile& tile);
};
