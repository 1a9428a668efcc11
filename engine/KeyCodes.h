#pragma once

#include <optional>
#include <string_view>

/// The key code of a key name used in Index.json ("A", "F1", "_0", "MOUSE_2", ...), as carried
/// by MessageKey; nothing for a name outside the table of 128 names.
std::optional<int> KeyCodeFromName(std::string_view name);

/// The key codes the engine, the services and the game name, as carried by `MessageKey` (the
/// window library's codes; mouse buttons from 348). One list, so that a code is written once.
namespace keycode {
inline constexpr int Space = 32;
inline constexpr int Period = 46;
inline constexpr int Comma = 44;
inline constexpr int A = 65;
inline constexpr int C = 67;
inline constexpr int D = 68;
inline constexpr int O = 79;
inline constexpr int P = 80;
inline constexpr int Q = 81;
inline constexpr int S = 83;
inline constexpr int W = 87;
inline constexpr int X = 88;
inline constexpr int Z = 90;
/// Left of 1: switches debug mode.
inline constexpr int Grave = 96;
inline constexpr int Escape = 256;
inline constexpr int Enter = 257;
inline constexpr int Right = 262;
inline constexpr int Left = 263;
inline constexpr int Down = 264;
inline constexpr int Up = 265;
inline constexpr int F1 = 290;
inline constexpr int F3 = 292;
inline constexpr int F5 = 294;
inline constexpr int F11 = 300;
inline constexpr int PadEnter = 335;
inline constexpr int MouseFirst = 348;
inline constexpr int MouseSecond = 349;
}  // namespace keycode
