#include "game/platform/UserFolder.h"

#include <cstdlib>

namespace {

std::filesystem::path FolderFrom(const char* variable, const char* below) {
    const char* value = std::getenv(variable);
    if (!value || !*value) return {};
    const std::filesystem::path folder(value);
    // A relative folder would depend on where the game was started from.
    if (!folder.is_absolute()) return {};
    return folder / below;
}

}  // namespace

#ifdef _WIN32
std::filesystem::path UserConfigFolder() {
    return FolderFrom("APPDATA", "Halvex");
}
#else
std::filesystem::path UserConfigFolder() {
    std::filesystem::path folder = FolderFrom("XDG_CONFIG_HOME", "halvex");
    if (folder.empty()) folder = FolderFrom("HOME", ".config/halvex");
    return folder;
}
#endif
