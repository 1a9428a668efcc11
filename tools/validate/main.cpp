// Checks the game's content without a window or a sound device: one line per problem,
// `FILE: /json/pointer: what is wrong`, and exit status 1 when there is any.
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
    const auto problems = validate::Validator().Run();
    for (const auto& problem : problems) std::cout << problem << "\n";
    return problems.empty() ? 0 : 1;
}
