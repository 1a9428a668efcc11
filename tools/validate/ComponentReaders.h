#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/SystemBase.h"

namespace validate {

/// Reads component descriptions with the game's own systems, so that every component the game
/// knows is known here without a table of names.
class ComponentReaders {
public:
    /// The game's whole roster.
    ComponentReaders();
    /// Only these systems' readers.
    explicit ComponentReaders(std::vector<std::unique_ptr<SystemBase>> roster);

    /// Whether some system of the game reads components named `name`.
    bool Known(const std::string& name) const;
    /// The reader's complaint about `value` as component `name`, or nothing when it reads.
    /// A reader that fails with anything but a data error is reported too, marked as a fault
    /// of the game.
    std::optional<std::string> Read(const std::string& name, const nlohmann::json& value);
    /// As Read, but only the data-error kinds (DataError and the JSON library's errors) become
    /// a complaint: any other exception escapes, for the fuzz targets to catch.
    std::optional<std::string> ReadData(const std::string& name, const nlohmann::json& value);
    /// Pointers (below the component) of the object members that the reader never looks at:
    /// each is replaced by a value of no sensible type, and a reader that still succeeds has
    /// not read it. Call only for a value that reads.
    std::vector<std::string> UnreadKeys(const std::string& name, const nlohmann::json& value);

private:
    SystemBase* Find(const std::string& name) const;
    void Probe(const std::string& name, nlohmann::json& at, const std::string& pointer,
               nlohmann::json& root, std::vector<std::string>& out);

    std::vector<std::unique_ptr<SystemBase>> systems;
};

}  // namespace validate
