// One component description through the game's own reader: the input is the component's
// name (UI, animation, particles, tile map and every other one), a line break and its JSON.
// The validator turns every exception into a line of its report, so this target asks the
// readers for data errors only: anything else escaping a reader is a finding.
//
// With HALVEX_FUZZ_PLANT set, a planted reader ("Planted Fault") throws a standard exception
// that is no data error, so that the fuzz script can show the target catching it.
#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "engine/DataFile.h"
#include "engine/MessageEntity.h"
#include "game/Roster.h"
#include "tools/fuzz/FuzzSupport.h"
#include "tools/validate/ComponentReaders.h"

namespace {

class PlantedFault : public SystemBase {
public:
    std::unique_ptr<SystemBase> Clone() const override {
        return std::make_unique<PlantedFault>(*this);
    }
    std::string_view Name() const override { return "Planted Fault"; }
    bool HandleMessage(const Message& message) override {
        if (message.TypeId() != MessageId::AddComponentJSON) return false;
        auto& add = static_cast<const MessageAddComponentJSON&>(message);
        if (add.component != Name()) return false;
        throw std::logic_error("planted: a reader's own fault");
    }
};

validate::ComponentReaders& Readers() {
    static validate::ComponentReaders readers = [] {
        auto roster = MakeRoster();
        if (std::getenv("HALVEX_FUZZ_PLANT")) roster.push_back(std::make_unique<PlantedFault>());
        return validate::ComponentReaders(std::move(roster));
    }();
    return readers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterContentCopy();
    auto& readers = Readers();
    const auto* end = data + size;
    const auto* split = std::find(data, end, static_cast<std::uint8_t>('\n'));
    if (split == end) return 0;
    const std::string name(data, split);
    if (!readers.Known(name)) return 0;
    nlohmann::json value;
    try {
        // As the game parses its files: with their depth limit.
        std::istringstream text(std::string(split + 1, end));
        value = ParseDataText(text, "fuzz");
    } catch (const DataError&) {
        return 0;
    }
    fuzz::Expect([&] { (void)readers.ReadData(name, value); });
    return 0;
}
