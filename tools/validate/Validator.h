#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/validate/ComponentReaders.h"
#include "tools/validate/Problems.h"

namespace validate {

/// Checks the content under ./Assets of the working directory: every data file with the
/// game's own readers, and every reference between files.
class Validator {
public:
    std::vector<Problem> Run();

private:
    /// The parsed file, or null after a problem naming it.
    nlohmann::json Parse(const std::string& file);
    void Report(const std::string& file, const std::string& pointer, const std::string& what,
                bool warning = false);

    void Index();
    void Banks();
    void Scenes();
    void Scene(const std::string& name);
    void EntityFiles();
    /// One entity description, as found in `file` at `pointer`. `chain`: the entity files
    /// around it, to catch a file that contains itself.
    void Entity(const nlohmann::json& description, const std::string& file,
                const std::string& pointer, std::vector<std::string>& chain,
                std::set<std::string>* emitters, std::set<std::string>* pools,
                const nlohmann::json* only = nullptr);
    void Component(const std::string& name, const nlohmann::json& value,
                   const nlohmann::json& entity, const std::string& file,
                   const std::string& pointer);
    /// `top`: `value` is the component itself, whose own keys name maps and fonts.
    void References(const nlohmann::json& value, const nlohmann::json& entity,
                    const std::string& component, const std::string& file,
                    const std::string& pointer, bool top);
    /// The sheet images of map `name`'s tile sets, which the map's reader only names.
    void TileMap(const std::string& name);
    /// The entity file of `name` as parsed (null when missing or broken).
    const nlohmann::json& EntityFile(const std::string& name);

    ComponentReaders readers;
    std::vector<Problem> problems;
    /// (file, pointer, what) of every problem in `problems`, to report each once.
    std::set<std::tuple<std::string, std::string, std::string>> reported;
    std::set<std::string> events;
    std::set<std::string> tileMapsChecked;
    std::map<std::string, nlohmann::json> entityFiles;
    /// Entity files whose own problems are already reported.
    std::set<std::string> entitiesChecked;
};

/// Whether ./Assets/Data/Scene/<name>.json exists.
bool SceneExists(const std::string& name);
std::string SceneFilePathFor(const std::string& name);

}  // namespace validate
