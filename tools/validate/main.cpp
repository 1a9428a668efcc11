// Checks the game's content without a window or a sound device: one line per problem,
// `FILE: /json/pointer: what is wrong`, and exit status 1 when there is any (warnings, marked
// as such, do not count).
#include <filesystem>
#include <iostream>

#include "tools/validate/Validator.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: halvex-validate [folder holding Assets/]\n";
        return 2;
    }
    std::error_code error;
    if (argc == 2) std::filesystem::current_path(argv[1], error);
    if (error || !std::filesystem::is_directory("Assets")) {
        std::cerr << "halvex-validate: no Assets/ folder in "
                  << (argc == 2 ? argv[1] : std::string(".")) << "\n";
        return 2;
    }
    bool failed = false;
    for (const auto& problem : validate::Validator().Run()) {
        std::cout << problem << "\n";
        failed = failed || !problem.warning;
    }
    return failed ? 1 : 0;
}
