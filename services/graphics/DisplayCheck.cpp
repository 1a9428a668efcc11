#include "services/graphics/DisplayCheck.h"

#include <cstdlib>

namespace graphics {

#ifdef _WIN32
// A Windows session always has a desktop to open windows on.
const char* MissingDisplay() {
    return nullptr;
}
#else
const char* MissingDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((x11 && *x11) || (wayland && *wayland)) return nullptr;
    return "neither DISPLAY nor WAYLAND_DISPLAY is set";
}
#endif

}  // namespace graphics
