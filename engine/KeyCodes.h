#pragma once

#include <optional>
#include <string_view>

/// The key code of a key name used in Index.json ("A", "F1", "_0", "MOUSE_2", ...), as carried
/// by MessageKey; nothing for a name outside the table of 128 names.
std::optional<int> KeyCodeFromName(std::string_view name);
