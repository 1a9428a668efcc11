#pragma once

namespace graphics {

/// Why no window can be opened before even trying (no display server named), or null when
/// one may be: asking the windowing library instead would print its own complaints.
const char* MissingDisplay();

}  // namespace graphics
