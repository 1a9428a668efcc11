#include "game/program/ContentFolder.h"

#include "game/platform/ProgramFile.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarker = "Assets/Data/Index.json";

}  // namespace

std::vector<fs::path> ContentCandidates(const fs::path& working, const fs::path& executable,
                                        const fs::path& installedContent,
                                        const fs::path& contentFromProgram) {
    std::vector<fs::path> candidates;
    auto add = [&candidates](const fs::path& folder) {
        if (folder.empty()) return;
        const fs::path normal = folder.lexically_normal();
        // "a/b/" and "a/b" are one folder.
        const fs::path clean = normal.has_filename() ? normal : normal.parent_path();
        if (std::find(candidates.begin(), candidates.end(), clean) == candidates.end()) {
            candidates.push_back(clean);
        }
    };
    add(working);
    const fs::path programFolder = executable.empty() ? fs::path() : executable.parent_path();
    if (!programFolder.empty()) {
        add(programFolder);
        add(programFolder / "..");
        // A copy's own content comes before the built-in place, which may hold another copy.
        if (!contentFromProgram.empty()) add(programFolder / contentFromProgram);
    }
    add(installedContent);
    return candidates;
}

std::optional<fs::path> FindContent(const std::vector<fs::path>& candidates) {
    for (const fs::path& folder : candidates) {
        std::error_code error;
        if (fs::is_regular_file(folder / kMarker, error)) return folder;
    }
    return std::nullopt;
}

fs::path ExecutablePath(const char* argv0) {
    std::error_code error;
    fs::path self = RunningProgramFile();
    if (!self.empty()) return self;
    if (argv0 == nullptr || *argv0 == '\0') return {};
    // A bare name was found on PATH, which says nothing about where.
    const fs::path given(argv0);
    if (!given.has_parent_path()) return {};
    fs::path absolute = fs::absolute(given, error);
    return error ? fs::path() : absolute;
}

std::string ContentNotFoundText(const std::vector<fs::path>& candidates) {
    std::string text = std::string("no game content (") + kMarker + ") found; looked in:";
    for (const fs::path& folder : candidates) text += "\n  " + folder.string();
    return text;
}
