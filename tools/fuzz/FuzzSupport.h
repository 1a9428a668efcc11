#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "audio/AudioBankFile.h"
#include "engine/DataError.h"

// What every loader target shares: a private copy of the shipped content as the working
// folder, and the rule that bad data may only end in the loaders' own errors.
namespace fuzz {

/// Once per process: copies the shipped Assets/ into a fresh folder and changes into it.
inline void EnterContentCopy() {
    static const bool done = [] {
        namespace fs = std::filesystem;
        const fs::path root =
            fs::temp_directory_path() / ("halvex-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(root);
        fs::copy(fs::path(HALVEX_SOURCE_DIR) / "Assets", root / "Assets",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::current_path(root);
        return true;
    }();
    (void)done;
}

inline void Write(const std::string& relative, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(relative, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

/// Runs `load`; the loaders' promised errors are fine, anything else escaping is a finding.
template <class F>
void Expect(F&& load) {
    try {
        load();
    } catch (const DataError&) {
        // Bank format errors are data errors too.
    } catch (const nlohmann::json::exception&) {
        // Component readers raise the JSON library's errors for their own keys.
    }
}

}  // namespace fuzz
