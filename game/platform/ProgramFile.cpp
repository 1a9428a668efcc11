#include "game/platform/ProgramFile.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <string>

std::filesystem::path RunningProgramFile() {
    std::wstring name(MAX_PATH, L'\0');
    // A path longer than the buffer is cut to fit and reported as the buffer's full size.
    while (true) {
        const DWORD size =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (size == 0) return {};
        if (size < name.size()) {
            name.resize(size);
            return std::filesystem::path(name);
        }
        if (name.size() >= 32768) return {};
        name.resize(name.size() * 2);
    }
}
#else
std::filesystem::path RunningProgramFile() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self;
}
#endif
