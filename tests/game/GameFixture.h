#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/KeyCodes.h"
#include "engine/MessageEntity.h"
#include "engine/MessageKey.h"
#include "game/Roster.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

/// The game's roster, in its order, without the systems named. The player's tests leave out
/// "Transition Slide": with no slide loaded it answers a reload request by restoring the
/// checkpoint at once, which would cut short the death sequences they watch.
std::vector<std::unique_ptr<SystemBase>> RosterWithout(
    std::initializer_list<std::string_view> names);
inline std::vector<std::unique_ptr<SystemBase>> PlayerRoster() {
    return RosterWithout({"Transition Slide"});
}

/// Writes a tile set "Tiles" (ids 1 solid, 2 one-way, 3 hazard, 4 pit, 5 anchor) and a map
/// "Map" from rows of characters: '#' solid, '=' one-way, '^' hazard, 'v' pit, 'o' the anchor
/// (the cell centred on the origin), anything else empty. Tiles are 1 unit wide (T = 0.5).
void WriteMap(const TempAssets& assets, const std::vector<std::string>& rows);

/// A player entity file "Hero": box (0.4, 0.9), physics with `gravity`, a controller with
/// the values below merged with `control`, and a player collision handler.
void WriteHero(const TempAssets& assets, float gravity, const nlohmann::json& control = {});

/// An entity file "PauseMenu" with the shipped pause menu's names: "Pause Menu" and its four
/// sub-menus.
void WritePauseMenu(const TempAssets& assets);

/// The first entity of the current state made from `file`, or 0.
EntityId FindEntity(TestEngine& test, const std::string& file);
/// Every entity of the current state made from `file`.
std::vector<EntityId> FindEntities(TestEngine& test, const std::string& file);

inline void Press(TestEngine& test, int key, bool debug = false) {
    test.Send(MessageKey(key, MessageKey::kPressed, 0, debug));
}
inline void Release(TestEngine& test, int key, bool debug = false) {
    test.Send(MessageKey(key, MessageKey::kReleased, 0, debug));
}

/// Standing on Level1's ground: its top is at y = 5.5 and the player's box is 0.8 high.
inline constexpr float kLevel1StandY = 6.3f;

/// The tests' short names for the game's key codes (engine/KeyCodes.h).
namespace keys {
inline constexpr int kSpace = keycode::Space;
inline constexpr int kA = keycode::A;
inline constexpr int kD = keycode::D;
inline constexpr int kO = keycode::O;
inline constexpr int kS = keycode::S;
inline constexpr int kGrave = keycode::Grave;
inline constexpr int kEscape = keycode::Escape;
inline constexpr int kRight = keycode::Right;
inline constexpr int kLeft = keycode::Left;
}  // namespace keys
