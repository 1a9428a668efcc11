// The level designer's guide (docs/designing-levels.md) lists every key of every game component.
// The keys are taken here from the component readers' source, so that a key added to or removed
// from a reader fails this test until the guide's table says the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/MessageEntity.h"
#include "game/Roster.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = HALVEX_SOURCE_DIR;
const fs::path kGuide = kSource / "docs/designing-levels.md";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Readers of entity-file data live in game/; the replay and settings folders read other files.
std::vector<fs::path> GameSources(const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "game")) {
        const fs::path& path = entry.path();
        if (path.extension() != extension) continue;
        const std::string text = path.generic_string();
        if (text.find("/game/replay/") != std::string::npos ||
            text.find("/game/settings/") != std::string::npos) {
            continue;
        }
        files.push_back(path);
    }
    return files;
}

/// The index just past the brace that closes the one at `open`, skipping string and character
/// literals and comments.
size_t MatchingBrace(const std::string& text, size_t open) {
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            for (++i; i < text.size() && text[i] != c; ++i) {
                if (text[i] == '\\') ++i;
            }
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            i = text.find('\n', i);
            if (i == std::string::npos) break;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return i + 1;
        }
    }
    throw std::runtime_error("unbalanced braces");
}

struct Reader {
    std::string file;
    std::set<std::string> keys;
};

/// Every `from_json(json, T&)` with a body, by T, and the keys its body reads from `j`.
std::map<std::string, Reader> Readers() {
    // The calls a reader makes to look a key up; other quoted text (error messages) is not a key.
    const std::regex keyCall(
        R"re((?:\bKey|\bVec<\d>|\bIVec<\d>)\(j, "([^"]+)\"|\bj\.(?:contains|at|find|value)\("([^"]+)\")re");
    const std::regex signature(
        R"re(void from_json\(const [\w:]*json&(?: \w+)?, (\w+)&(?: \w+)?\)\s*\{)re");
    std::map<std::string, Reader> readers;
    for (const auto& extension : {".cpp", ".h"}) {
        for (const auto& path : GameSources(extension)) {
            const std::string text = ReadFile(path);
            for (auto it = std::sregex_iterator(text.begin(), text.end(), signature);
                 it != std::sregex_iterator(); ++it) {
                const size_t open = static_cast<size_t>(it->position(0) + it->length(0) - 1);
                const std::string body = text.substr(open, MatchingBrace(text, open) - open);
                Reader reader{path.lexically_relative(kSource).generic_string(), {}};
                for (auto key = std::sregex_iterator(body.begin(), body.end(), keyCall);
                     key != std::sregex_iterator(); ++key) {
                    reader.keys.insert((*key)[1].matched ? (*key)[1].str() : (*key)[2].str());
                }
                readers[(*it)[1]] = reader;
            }
        }
    }
    return readers;
}

struct Component {
    std::string type;
    std::vector<std::string> bases;
};

/// Every component declared in game/ by its entity-file name: the struct that holds the
/// `kName` and the structs it derives from (a reader of a base reads the component).
std::map<std::string, Component> Components() {
    const std::regex name(R"re(kName = "([^"]+)\")re");
    const std::regex declaration(R"re(struct (\w+)\s*(?::\s*([^{;]*))?\{)re");
    std::map<std::string, Component> components;
    for (const auto& path : GameSources(".h")) {
        const std::string text = ReadFile(path);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), name);
             it != std::sregex_iterator(); ++it) {
            // The last struct opened before the name is the one that holds it.
            const std::string before = text.substr(0, static_cast<size_t>(it->position(0)));
            std::smatch last;
            for (auto s = std::sregex_iterator(before.begin(), before.end(), declaration);
                 s != std::sregex_iterator(); ++s) {
                last = *s;
            }
            if (last.empty()) throw std::runtime_error(path.string() + ": kName outside a struct");
            Component component{last[1], {}};
            std::stringstream bases(last[2].str());
            for (std::string base; std::getline(bases, base, ',');) {
                base = std::regex_replace(
                    base, std::regex(R"re(\b(public|private|protected)\b|\s)re"), "");
                if (!base.empty()) component.bases.push_back(base);
            }
            components[(*it)[1]] = component;
        }
    }
    return components;
}

/// The quoted keys of the first column of the guide's tables, by the heading above them: the
/// heading's first quoted name ("### \"Door Behavior\"") or its first name in backquotes
/// ("#### `Transition`: ...").
std::map<std::string, std::set<std::string>> GuideTables() {
    const std::regex heading(R"re(^#+\s+(?:"([^"]+)"|`(\w+)`))re");
    const std::regex row(R"re(^\|\s*"([^"]+)"\s*\|)re");
    std::map<std::string, std::set<std::string>> tables;
    std::string section;
    std::istringstream lines(ReadFile(kGuide));
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (line.rfind('#', 0) == 0) {
            section = std::regex_search(line, match, heading)
                          ? (match[1].matched ? match[1].str() : match[2].str())
                          : "";
            // A component without keys has a heading and no table.
            if (!section.empty()) tables[section];
        } else if (!section.empty() && std::regex_search(line, match, row)) {
            tables[section].insert(match[1]);
        }
    }
    return tables;
}

/// Whether the reader of component `name` looks at the member at `path`: given a value there
/// that no reader can take, reading fails.
bool ReaderLooksAt(const std::vector<std::unique_ptr<SystemBase>>& roster, const std::string& name,
                   const nlohmann::json::json_pointer& path) {
    nlohmann::json value = nlohmann::json::object();
    value[path] =
        nlohmann::json::object({{"\x01probe", nlohmann::json::array({nlohmann::json::object()})}});
    for (const auto& system : roster) {
        if (system->Name() != name) continue;
        auto reader = system->Clone();
        reader->SendMessage = [](const Message&) { return false; };
        try {
            reader->HandleMessage(MessageAddComponentJSON("Guide", 1, value, name));
        } catch (const std::exception&) {
            return true;
        }
        return false;
    }
    ADD_FAILURE() << "no system reads \"" << name << "\"";
    return false;
}

std::string Join(const std::set<std::string>& keys) {
    std::string out;
    for (const auto& key : keys) out += (out.empty() ? "\"" : ", \"") + key + "\"";
    return out.empty() ? "(none)" : out;
}

}  // namespace

TEST(DesignGuide, EveryGameComponentKeyIsInTheGuideAndNoOther) {
    const auto readers = Readers();
    const auto components = Components();
    const auto tables = GuideTables();
    // A parse that finds little means the source changed shape, not that the guide is right.
    ASSERT_GE(components.size(), 30u) << "components were not found in game/";
    ASSERT_GE(readers.size(), 30u) << "readers were not found in game/";

    const auto roster = MakeRoster();
    std::set<std::string> systems;
    for (const auto& system : roster) systems.emplace(system->Name());
    std::set<std::string> readThroughComponents;
    for (const auto& [name, component] : components) {
        EXPECT_TRUE(systems.count(name)) << "\"" << name << "\" names no system of the roster";
        const Reader* reader = nullptr;
        if (auto own = readers.find(component.type); own != readers.end()) reader = &own->second;
        for (const auto& base : component.bases) {
            if (auto found = readers.find(base); !reader && found != readers.end()) {
                reader = &found->second;
                readThroughComponents.insert(base);
            }
        }
        readThroughComponents.insert(component.type);
        ASSERT_NE(reader, nullptr) << "no reader found for " << component.type;
        // The source was read right: each key found really is looked at.
        for (const auto& key : reader->keys) {
            EXPECT_TRUE(ReaderLooksAt(roster, name, nlohmann::json::json_pointer("/" + key)))
                << "\"" << name << "\" does not read \"" << key << "\" although " << reader->file
                << " seems to";
        }

        const auto table = tables.find(name);
        if (table == tables.end()) {
            ADD_FAILURE() << "docs/designing-levels.md has no section ### \"" << name
                          << "\"; its reader (" << reader->file << ") reads " << Join(reader->keys);
            continue;
        }
        EXPECT_EQ(Join(table->second), Join(reader->keys))
            << "the guide's table for \"" << name << "\" differs from what " << reader->file
            << " reads";
    }
    // Readers of parts of a component (the steps of a "Transition Slide") have a table of
    // their own under a heading that names the type in backquotes.
    for (const auto& [type, reader] : readers) {
        if (readThroughComponents.count(type)) continue;
        const auto table = tables.find(type);
        if (table == tables.end()) {
            ADD_FAILURE() << "docs/designing-levels.md has no section #### `" << type
                          << "`; its reader (" << reader.file << ") reads " << Join(reader.keys);
            continue;
        }
        EXPECT_EQ(Join(table->second), Join(reader.keys))
            << "the guide's table for `" << type << "` differs from " << reader.file;
    }
    // And no table for a component or part that is gone.
    for (const auto& [section, keys] : tables) {
        EXPECT_TRUE(components.count(section) || readers.count(section))
            << "docs/designing-levels.md has a key table under \"" << section
            << "\", which names no game component or reader";
    }
}
