#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// Where the game looks for the folder holding its Assets/, in order, without duplicates: the
/// working folder; the program's folder and its parent (a build tree, or an unpacked archive);
/// `<program folder>/<contentFromProgram>` (say `../share/halvex`) for an install, wherever its
/// tree was put; and `installedContent`, the data folder of the prefix the program was built
/// for. An empty `executable`, `installedContent` or `contentFromProgram` drops its candidates.
std::vector<std::filesystem::path> ContentCandidates(
    const std::filesystem::path& working, const std::filesystem::path& executable,
    const std::filesystem::path& installedContent, const std::filesystem::path& contentFromProgram);

/// The first candidate with Assets/Data/Index.json in it: an unrelated folder that merely
/// happens to be called Assets/ does not count.
std::optional<std::filesystem::path> FindContent(
    const std::vector<std::filesystem::path>& candidates);

/// The running program's file as the system knows it; else `argv0` made absolute; else
/// empty.
std::filesystem::path ExecutablePath(const char* argv0);

/// The error for a search that found nothing: one line, then every folder looked in.
std::string ContentNotFoundText(const std::vector<std::filesystem::path>& candidates);
