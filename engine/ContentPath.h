#pragma once

#include <string_view>

/// Whether `relative`, read in the folder `base` (given relative to Assets/, such as
/// "Data/Tiled"), names something inside Assets/: not absolute, and no ".." that climbs above
/// Assets/. Purely textual; links on disk are not followed.
inline bool InsideAssets(std::string_view base, std::string_view relative) {
    if (!relative.empty() && (relative.front() == '/' || relative.front() == '\\')) return false;
    // A drive letter ("C:") makes a path absolute on some systems.
    if (relative.size() >= 2 && relative[1] == ':') return false;
    int depth = 0;
    auto walk = [&depth](std::string_view path) {
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find_first_of("/\\", start);
            if (end == std::string_view::npos) end = path.size();
            const std::string_view part = path.substr(start, end - start);
            if (part == "..") {
                if (--depth < 0) return false;
            } else if (!part.empty() && part != ".") {
                ++depth;
            }
            start = end + 1;
        }
        return true;
    };
    return walk(base) && walk(relative);
}
