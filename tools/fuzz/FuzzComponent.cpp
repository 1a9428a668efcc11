// One component description through the game's own reader: the input is the component's
// name (UI, animation, particles, tile map and every other one), a line break and its JSON.
#include <algorithm>

#include "tools/fuzz/FuzzSupport.h"
#include "tools/validate/ComponentReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterContentCopy();
    static validate::ComponentReaders readers;
    const auto* end = data + size;
    const auto* split = std::find(data, end, static_cast<std::uint8_t>('\n'));
    if (split == end) return 0;
    const std::string name(data, split);
    if (!readers.Known(name)) return 0;
    nlohmann::json value;
    try {
        value = nlohmann::json::parse(split + 1, end);
    } catch (const nlohmann::json::exception&) {
        return 0;
    }
    // The reader reports its own complaint; a crash or a foreign exception is a finding.
    (void)readers.Read(name, value);
    return 0;
}
