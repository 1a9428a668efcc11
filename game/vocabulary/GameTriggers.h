#pragma once

#include <string_view>

/// The triggers the game's areas send one another (the engine's own are in
/// engine/TriggerNames.h).
namespace trigger {
/// The player was hurt or killed: its sequences and the HUD react.
inline constexpr std::string_view KillPlayer = "Kill Player";
/// The entrance door opens and the player walks in; input waits until it is over.
inline constexpr std::string_view StartingSequence = "Starting Sequence";
/// The teapot was taken: the player plays its win animation.
inline constexpr std::string_view PlayWinAnimation = "Play Win Animation";
/// Sets the death wall going, and what follows it (the camera's shake, the doors).
inline constexpr std::string_view DeathWall = "Death Wall";

/// What ended the player's life, sent once per death so that the HUD can name it.
inline constexpr std::string_view KilledByHazard = "Killed By Hazard";
inline constexpr std::string_view KilledByEnemy = "Killed By Enemy";
inline constexpr std::string_view KilledByEnemyBullet = "Killed By Enemy Bullet";
inline constexpr std::string_view CaughtByDeathWall = "Caught By Death Wall";
inline constexpr std::string_view FellIntoPit = "Fell Into Pit";
}  // namespace trigger
