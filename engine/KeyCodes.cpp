#include "engine/KeyCodes.h"

#include <string>
#include <unordered_map>

namespace {

// Appending rather than `"F" + std::to_string(i)`: GCC 12 at -O3 reports a false -Wrestrict
// overlap for a literal prepended to a temporary string.
std::string Numbered(const char* prefix, int i) {
    std::string name(prefix);
    name.append(std::to_string(i));
    return name;
}

std::unordered_map<std::string, int> BuildTable() {
    std::unordered_map<std::string, int> table = {
        {"UNKNOWN", -1},       {"SPACE", 32},        {"APOSTROPHE", 39},     {"COMMA", 44},
        {"MINUS", 45},         {"PERIOD", 46},       {"SLASH", 47},          {"SEMICOLON", 59},
        {"EQUAL", 61},         {"LEFT_BRACKET", 91}, {"BACKSLASH", 92},      {"RIGHT_BRACKET", 93},
        {"GRAVE_ACCENT", 96},  {"WORLD_1", 161},     {"WORLD_2", 162},       {"ESCAPE", 256},
        {"ENTER", 257},        {"TAB", 258},         {"BACKSPACE", 259},     {"INSERT", 260},
        {"_DELETE", 261},      {"RIGHT", 262},       {"LEFT", 263},          {"DOWN", 264},
        {"UP", 265},           {"PAGE_UP", 266},     {"PAGE_DOWN", 267},     {"HOME", 268},
        {"END", 269},          {"CAPS_LOCK", 280},   {"SCROLL_LOCK", 281},   {"NUM_LOCK", 282},
        {"PRINT_SCREEN", 283}, {"PAUSE", 284},       {"KP_DECIMAL", 330},    {"KP_DIVIDE", 331},
        {"KP_MULTIPLY", 332},  {"KP_SUBTRACT", 333}, {"KP_ADD", 334},        {"KP_ENTER", 335},
        {"KP_EQUAL", 336},     {"LEFT_SHIFT", 340},  {"LEFT_CONTROL", 341},  {"LEFT_ALT", 342},
        {"LEFT_SUPER", 343},   {"RIGHT_SHIFT", 344}, {"RIGHT_CONTROL", 345}, {"RIGHT_ALT", 346},
        {"RIGHT_SUPER", 347},  {"MENU", 348},
    };
    for (int i = 0; i <= 9; ++i) table[Numbered("_", i)] = 48 + i;
    for (char c = 'A'; c <= 'Z'; ++c) table[std::string(1, c)] = c;
    for (int i = 1; i <= 25; ++i) table[Numbered("F", i)] = 289 + i;
    for (int i = 0; i <= 9; ++i) table[Numbered("KP_", i)] = 320 + i;
    for (int i = 2; i <= 8; ++i) table[Numbered("MOUSE_", i)] = 347 + i;
    return table;
}

}  // namespace

std::optional<int> KeyCodeFromName(std::string_view name) {
    static const std::unordered_map<std::string, int> table = BuildTable();
    auto it = table.find(std::string(name));
    if (it == table.end()) return std::nullopt;
    return it->second;
}
