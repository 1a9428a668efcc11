#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "audio/AudioBankFile.h"
#include "engine/DataError.h"

// What every loader target shares: a private copy of the shipped content as the working
// folder, and the rule that bad data may only end in the loaders' own errors.
namespace fuzz {

/// The folder of this process's content copy: below $HALVEX_FUZZ_TMP when set (the fuzz
/// script removes that folder however the run ends), else below the system's temporary folder.
inline std::filesystem::path ContentCopyRoot() {
    namespace fs = std::filesystem;
    const char* base = std::getenv("HALVEX_FUZZ_TMP");
    const fs::path parent = base && *base ? fs::path(base) : fs::temp_directory_path();
    return parent / ("halvex-fuzz-" + std::to_string(::getpid()));
}

/// Once per process: copies the shipped Assets/ into a fresh folder and changes into it. The
/// copy is removed when the process exits normally; a crash leaves it to the fuzz script.
inline void EnterContentCopy() {
    static const bool done = [] {
        namespace fs = std::filesystem;
        static const fs::path root = ContentCopyRoot();
        fs::create_directories(root);
        fs::copy(fs::path(HALVEX_SOURCE_DIR) / "Assets", root / "Assets",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::current_path(root);
        std::atexit([] {
            std::error_code error;
            fs::current_path(fs::temp_directory_path(), error);
            fs::remove_all(root, error);
        });
        return true;
    }();
    (void)done;
}

inline void Write(const std::string& relative, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(relative, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

/// Stops the run with `what` on stderr: libFuzzer keeps the input as a finding.
[[noreturn]] inline void Finding(const std::string& what) {
    std::fprintf(stderr, "fuzz: finding: %s\n", what.c_str());
    std::abort();
}

/// Runs `load`; the loaders' promised errors are fine, any other exception is a finding.
template <class F>
void Expect(F&& load) {
    try {
        load();
    } catch (const DataError&) {
        // Bank format errors are data errors too.
    } catch (const nlohmann::json::exception&) {
        // Component readers raise the JSON library's errors for their own keys.
    } catch (const std::exception& e) {
        Finding(std::string("an exception that is no data error: ") + e.what());
    } catch (...) {
        Finding("an exception of no standard type");
    }
}

}  // namespace fuzz
