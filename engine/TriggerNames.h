#pragma once

#include <string_view>

/// The names of the triggers the engine and its services give meaning to. Content may fire any
/// other name from its trigger zones.
namespace trigger {
/// Pauses or resumes the frame time (value true to pause).
inline constexpr std::string_view Pause = "Pause";
/// Ends the main loop after the current frame.
inline constexpr std::string_view Exit = "Exit";
/// Saves a checkpoint of the current state.
inline constexpr std::string_view Checkpoint = "Checkpoint";
/// Sent after a checkpoint was restored.
inline constexpr std::string_view CheckpointRestore = "Checkpoint Restore";
/// The window gained (true) or lost (false) the focus.
inline constexpr std::string_view WindowFocus = "Window Focus";
}  // namespace trigger
