#include "tools/validate/ComponentReaders.h"

#include <exception>

#include "engine/DataError.h"
#include "engine/MessageEntity.h"
#include "game/Roster.h"
#include "tools/validate/Problems.h"

using json = nlohmann::json;

namespace validate {

namespace {

/// No reader takes an array holding an object holding an array where it wants a number, a
/// string, a flag, a list of numbers or a table of named entries.
json Unreadable() {
    return json::array({json::object({{"\x01probe", json::array({json::object()})}})});
}

}  // namespace

ComponentReaders::ComponentReaders() : ComponentReaders(MakeRoster()) {}

ComponentReaders::ComponentReaders(std::vector<std::unique_ptr<SystemBase>> roster)
    : systems(std::move(roster)) {
    // The readers run alone: whatever a system would tell the rest of the game goes nowhere.
    for (auto& system : systems) system->SendMessage = [](const Message&) { return false; };
}

SystemBase* ComponentReaders::Find(const std::string& name) const {
    for (const auto& system : systems) {
        if (system->Name() == name) return system.get();
    }
    return nullptr;
}

bool ComponentReaders::Known(const std::string& name) const {
    return Find(name) != nullptr;
}

std::optional<std::string> ComponentReaders::Read(const std::string& name, const json& value) {
    try {
        return ReadData(name, value);
    } catch (const std::exception& e) {
        // A reader's own fault, not the data's: still one line of the report, marked so.
        return std::string("the reader failed (a fault of the game): ") + e.what();
    }
}

std::optional<std::string> ComponentReaders::ReadData(const std::string& name, const json& value) {
    SystemBase* system = Find(name);
    if (!system) return "no system reads this component";
    // A fresh copy each time, so one description never sees another's leftovers.
    auto reader = system->Clone();
    reader->SendMessage = system->SendMessage;
    try {
        if (!reader->HandleMessage(MessageAddComponentJSON("Validate", 1, value, name))) {
            return "the component was not taken";
        }
    } catch (const json::exception& e) {
        return std::string(e.what());
    } catch (const DataError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

void ComponentReaders::Probe(const std::string& name, json& at, const std::string& pointer,
                             json& root, std::vector<std::string>& out) {
    if (!at.is_object()) return;
    for (auto it = at.begin(); it != at.end(); ++it) {
        const std::string here = Child(pointer, it.key());
        json saved = std::move(it.value());
        it.value() = Unreadable();
        bool read = Read(name, root).has_value();
        if (!read && saved.is_array()) {
            // Lists are often walked leniently, skipping entries they cannot use: a list is
            // unread only when a plain string in its place goes unnoticed as well.
            it.value() = "\x01probe";
            read = Read(name, root).has_value();
        }
        it.value() = std::move(saved);
        if (!read) {
            out.push_back(here);
        } else {
            Probe(name, it.value(), here, root, out);
        }
    }
}

std::vector<std::string> ComponentReaders::UnreadKeys(const std::string& name, const json& value) {
    std::vector<std::string> out;
    json root = value;
    Probe(name, root, "", root, out);
    return out;
}

}  // namespace validate
