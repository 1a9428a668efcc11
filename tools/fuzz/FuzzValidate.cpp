// The validator over a whole content folder: the input is a path below Assets/ (a data file,
// font or bank), a line break and the file's new content. The validator must answer with its
// report alone: no exception, no crash, no hang, and no reader fault in the report.
#include <algorithm>
#include <iterator>

#include "engine/ContentPath.h"
#include "tools/fuzz/FuzzSupport.h"
#include "tools/validate/Validator.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Editable(const std::string& path) {
    if (path.empty() || !InsideAssets("", path)) return false;
    for (const char* folder : {"Data/", "Textures/Fonts/", "Banks/"}) {
        if (path.rfind(folder, 0) == 0) {
            return EndsWith(path, ".json") ||
                   (path.rfind("Banks/", 0) == 0 && EndsWith(path, ".bank"));
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    fuzz::EnterContentCopy();
    const auto* end = data + size;
    const auto* split = std::find(data, end, static_cast<std::uint8_t>('\n'));
    if (split == end) return 0;
    const std::string path(data, split);
    if (!Editable(path)) return 0;
    const fs::path file = fs::path("Assets") / path;
    std::error_code error;
    if (!fs::is_directory(file.parent_path(), error) || fs::is_directory(file, error)) return 0;
    // The shipped file is put back afterwards, so every input meets the shipped folder.
    const bool existed = fs::exists(file, error);
    fuzz::Write(file.string(), split + 1, static_cast<std::size_t>(end - split - 1));
    try {
        for (const auto& problem : validate::Validator().Run()) {
            if (problem.what.find("a fault of the game") != std::string::npos) {
                fuzz::Finding(problem.file + ": " + problem.pointer + ": " + problem.what);
            }
        }
    } catch (const std::exception& e) {
        fuzz::Finding(std::string("the validator threw: ") + e.what());
    }
    if (existed) {
        fs::copy_file(fs::path(HALVEX_SOURCE_DIR) / "Assets" / path, file,
                      fs::copy_options::overwrite_existing, error);
    } else {
        fs::remove(file, error);
    }
    return 0;
}
