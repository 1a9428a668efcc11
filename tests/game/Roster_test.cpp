#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "game/Roster.h"
#include "tests/support/TempAssets.h"

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

std::set<std::string> SystemNames() {
    std::set<std::string> names;
    for (const auto& system : MakeRoster()) names.emplace(system->Name());
    return names;
}

json Read(const fs::path& path) {
    std::ifstream in(path);
    return json::parse(in);
}

/// Each component key of an entity description or override, with where it was found.
void CollectKeys(const json& description, const std::string& where,
                 std::vector<std::pair<std::string, std::string>>& out) {
    if (!description.is_object()) return;
    for (const auto& [key, value] : description.items()) {
        if (key != "Children") {
            out.emplace_back(key, where);
            continue;
        }
        for (const json& child : value) {
            if (!child.is_object()) continue;
            for (const auto& [file, overrides] : child.items()) {
                CollectKeys(overrides, where + " child " + file, out);
            }
        }
    }
}

}  // namespace

// Two systems with one name would split a component's entries between them: the first one
// takes every entity-file entry and the second never sees one.
TEST(Roster, EverySystemHasItsOwnName) {
    std::multiset<std::string> seen;
    for (const auto& system : MakeRoster()) seen.emplace(system->Name());
    for (const std::string& name : seen) EXPECT_EQ(seen.count(name), 1u) << name;
}

// The engine ignores a component key that no system claims, so a misspelt key in the shipped
// content would quietly drop the component; every key has to name a system of the roster.
TEST(Roster, EveryComponentKeyOfTheShippedContentNamesASystem) {
    TempAssets assets;
    assets.CopyShipped("Assets/Data");
    const std::set<std::string> systems = SystemNames();
    std::vector<std::pair<std::string, std::string>> keys;
    for (const auto& entry : fs::recursive_directory_iterator("Assets/Data/Entity")) {
        if (entry.path().extension() != ".json") continue;
        CollectKeys(Read(entry.path()), entry.path().string(), keys);
    }
    for (const auto& entry : fs::directory_iterator("Assets/Data/Scene")) {
        const json scene = Read(entry.path());
        for (const auto& [name, value] : scene.items()) {
            if (!value.is_object()) continue;
            for (const auto& [file, overrides] : value.items()) {
                CollectKeys(overrides, entry.path().string() + " \"" + name + "\"", keys);
            }
        }
    }
    ASSERT_GT(keys.size(), 50u) << "the shipped content was not found";
    for (const auto& [key, where] : keys) {
        EXPECT_EQ(systems.count(key), 1u) << where << ": \"" << key << "\" names no system";
    }
}
