// Laptops with two GPUs run a program on the fast one when the program exports these: the
// drivers look the names up in the program itself, not in its libraries.
#include <cstdint>

#ifdef _WIN32
#define HALVEX_EXPORTED __declspec(dllexport)
#else
#define HALVEX_EXPORTED __attribute__((visibility("default")))
#endif

extern "C" {
HALVEX_EXPORTED std::uint32_t NvOptimusEnablement = 1;
HALVEX_EXPORTED int AmdPowerXpressRequestHighPerformance = 1;
}
