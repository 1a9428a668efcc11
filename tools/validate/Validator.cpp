#include "tools/validate/Validator.h"

#include <algorithm>
#include <filesystem>

#include "audio/AudioBankFile.h"
#include "engine/ContentPath.h"
#include "engine/DataFile.h"
#include "engine/KeyCodes.h"

using json = nlohmann::json;
namespace fs = std::filesystem;

namespace validate {

namespace {

constexpr std::size_t kMaxChildDepth = 64;

/// Keys that a component's reader accepts and keeps, so that older content still loads, but
/// that change nothing in the game: a designer who sets one expects an effect that never comes.
std::vector<std::string_view> InertKeys(std::string_view component) {
    static const std::map<std::string_view, std::vector<std::string_view>> inert = {
        {"Camera Controller", {"Freecam Speed", "Shake Trigger"}},
        {"Door Behavior", {"Start Sequence Close Delay"}},
        {"Enemy Behavior", {"Shoot Speed", "Death Animation"}},
        {"Enemy Collision Handler", {"Hit Color", "Kills Player On Contact"}},
        {"Objective Tracker", {"Counter Filepath"}},
        {"Player Collision Handler", {"Collision Sound"}},
        {"Player Controller", {"Start Run Delay"}},
    };
    auto it = inert.find(component);
    return it == inert.end() ? std::vector<std::string_view>{} : it->second;
}

/// Overrides that touch nothing: the description is walked for what it holds, not reported.
const json& Nothing() {
    static const json nothing = json::object();
    return nothing;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string EntityPath(const std::string& name) {
    return "Assets/Data/Entity/" + name + ".json";
}

/// Base names of the files with `extension` in `folder`, sorted.
std::vector<std::string> Names(const std::string& folder, const std::string& extension) {
    std::vector<std::string> out;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == extension) out.push_back(entry.path().stem().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

/// Clip names of an entity's "Animation", added to `clips`.
void AddClips(const json& entity, std::set<std::string>& clips) {
    if (!entity.is_object()) return;
    auto animation = entity.find("Animation");
    if (animation == entity.end() || !animation->is_object()) return;
    auto found = animation->find("Clips");
    if (found == animation->end() || !found->is_object()) return;
    for (auto it = found->begin(); it != found->end(); ++it) clips.insert(it.key());
}

}  // namespace

bool SceneExists(const std::string& name) {
    return InsideAssets("Data/Scene", name) && fs::is_regular_file(SceneFilePathFor(name));
}

std::string SceneFilePathFor(const std::string& name) {
    return "Assets/Data/Scene/" + name + ".json";
}

void Validator::Report(const std::string& file, const std::string& pointer, const std::string& what,
                       bool warning) {
    if (!reported.insert({file, pointer, what}).second) return;
    problems.push_back({file, pointer, what, warning});
}

json Validator::Parse(const std::string& file) {
    try {
        return ReadDataFile(file);
    } catch (const DataError& e) {
        // The game's reader names the file first; the report line names it already.
        std::string what = e.what();
        if (what.rfind(file + ": ", 0) == 0) what.erase(0, file.size() + 2);
        Report(file, "", what);
        return nullptr;
    }
}

const json& Validator::EntityFile(const std::string& name) {
    auto it = entityFiles.find(name);
    if (it != entityFiles.end()) return it->second;
    json parsed;
    const std::string path = EntityPath(name);
    if (name.empty() || !InsideAssets("Data/Entity", name) || !fs::is_regular_file(path)) {
        parsed = nullptr;
    } else {
        parsed = Parse(path);
    }
    return entityFiles.emplace(name, std::move(parsed)).first->second;
}

std::vector<Problem> Validator::Run() {
    problems.clear();
    reported.clear();
    Banks();
    Index();
    EntityFiles();
    Scenes();
    return problems;
}

void Validator::Banks() {
    for (const std::string& name : Names("Assets/Banks", ".bank")) {
        const std::string path = "Assets/Banks/" + name + ".bank";
        try {
            const audio::BankFile bank = audio::ReadBankFile(path);
            for (const auto& event : bank.events) {
                events.insert(event.path);
                for (const std::string& sound : event.sounds) {
                    if (!fs::is_regular_file(sound)) {
                        Report(path, Child("/Events", event.path) + "/Sounds",
                               "no sound file " + sound);
                    }
                }
            }
        } catch (const std::exception& e) {
            std::string what = e.what();
            if (what.rfind(path + ": ", 0) == 0) what.erase(0, path.size() + 2);
            Report(path, "", what);
        }
    }
}

void Validator::Index() {
    const std::string path = "Assets/Data/Index.json";
    const json index = Parse(path);
    if (index.is_null()) return;
    if (!index.is_object()) {
        Report(path, "", "must be a JSON object of key names and scene names");
        return;
    }
    for (auto it = index.begin(); it != index.end(); ++it) {
        const std::string pointer = Child("", it.key());
        if (!KeyCodeFromName(it.key())) Report(path, pointer, "not a key name");
        if (!it->is_string()) {
            Report(path, pointer, std::string("must be a scene name, not ") + it->type_name());
        } else if (it->get<std::string>() == "Checkpoint") {
            Report(path, pointer, "\"Checkpoint\" is the checkpoint, not a scene");
        } else if (!SceneExists(it->get<std::string>())) {
            Report(path, pointer, "no scene " + SceneFilePathFor(it->get<std::string>()));
        }
    }
}

void Validator::EntityFiles() {
    for (const std::string& name : Names("Assets/Data/Entity", ".json")) {
        const json& description = EntityFile(name);
        if (description.is_null()) continue;
        std::vector<std::string> chain{name};
        Entity(description, EntityPath(name), "", chain, nullptr, nullptr);
    }
}

void Validator::Scenes() {
    for (const std::string& name : Names("Assets/Data/Scene", ".json")) Scene(name);
}

void Validator::Scene(const std::string& name) {
    const std::string path = SceneFilePathFor(name);
    const json scene = Parse(path);
    if (scene.is_null()) return;
    if (!scene.is_object()) {
        Report(path, "", "a scene must be a JSON object");
        return;
    }
    std::set<std::string> emitters;
    std::set<std::string> pools;
    auto place = [&](const std::string& file, const json& overrides, const std::string& pointer) {
        std::vector<std::string> chain;
        if (file.empty()) {
            Entity(overrides, path, pointer, chain, &emitters, &pools);
            return;
        }
        const json& description = EntityFile(file);
        if (description.is_null()) {
            Report(path, pointer, "no entity file " + EntityPath(file));
            return;
        }
        if (!overrides.is_object() && !overrides.is_null()) {
            Report(path, pointer, "overrides must be a JSON object");
            return;
        }
        json merged = description;
        merged.merge_patch(overrides);
        chain.push_back(file);
        // The entity file's own problems are reported against it; here only the merged
        // components the scene changes, and what the scene's effects need.
        Entity(merged, path, pointer, chain, &emitters, &pools, &overrides);
    };
    for (auto it = scene.begin(); it != scene.end(); ++it) {
        const std::string pointer = Child("", it.key());
        if (it->is_string()) {
            place(it->get<std::string>(), json::object(), pointer);
        } else if (it->is_object()) {
            for (auto entry = it->begin(); entry != it->end(); ++entry) {
                place(entry.key(), entry.value(), Child(pointer, entry.key()));
            }
        } else {
            Report(path, pointer, "must name an entity file or map entity files to overrides");
        }
    }
    for (const std::string& emitter : emitters) {
        if (!pools.count(emitter)) {
            Report(path, "",
                   "an entity emits into the particle effect \"" + emitter +
                       "\", but no \"Particle Effect\" of that \"Name\" is in the scene");
        }
    }
}

void Validator::Entity(const json& description, const std::string& file, const std::string& pointer,
                       std::vector<std::string>& chain, std::set<std::string>* emitters,
                       std::set<std::string>* pools, const json* only) {
    if (description.is_null()) return;
    if (!description.is_object()) {
        Report(file, pointer, "an entity must be a JSON object");
        return;
    }
    if (chain.size() > kMaxChildDepth) {
        Report(file, pointer, "children nested more than 64 levels deep");
        return;
    }
    for (auto it = description.begin(); it != description.end(); ++it) {
        const std::string& key = it.key();
        const std::string here = Child(pointer, key);
        const bool reported = !only || (only->is_object() && only->contains(key));
        if (key == "Children") {
            if (!it->is_array() && !it->is_object()) {
                if (reported) Report(file, here, "must be an array or object of children");
                continue;
            }
            std::size_t index = 0;
            for (auto child = it->begin(); child != it->end(); ++child, ++index) {
                const std::string at =
                    it->is_array() ? here + "/" + std::to_string(index) : Child(here, child.key());
                auto build = [&](const std::string& childFile, const json& overrides,
                                 const std::string& childPointer) {
                    if (childFile.empty()) {
                        Entity(overrides, file, childPointer, chain, emitters, pools,
                               reported ? nullptr : &Nothing());
                        return;
                    }
                    if (std::find(chain.begin(), chain.end(), childFile) != chain.end()) {
                        if (reported) {
                            Report(file, childPointer, "\"" + childFile + "\" contains itself");
                        }
                        return;
                    }
                    const json& childDescription = EntityFile(childFile);
                    if (childDescription.is_null()) {
                        if (reported) {
                            Report(file, childPointer, "no entity file " + EntityPath(childFile));
                        }
                        return;
                    }
                    // Only collected from: the child file's own problems are reported there.
                    json merged = childDescription;
                    merged.merge_patch(overrides);
                    chain.push_back(childFile);
                    Entity(merged, EntityPath(childFile), "", chain, emitters, pools, &Nothing());
                    chain.pop_back();
                };
                if (child->is_string()) {
                    build(child->get<std::string>(), json::object(), at);
                } else if (child->is_object()) {
                    for (auto entry = child->begin(); entry != child->end(); ++entry) {
                        build(entry.key(), entry.value(), Child(at, entry.key()));
                    }
                } else if (reported) {
                    Report(file, at, "a child is an entity file name or an object of them");
                }
            }
            continue;
        }
        if (emitters && key == "Particle Emitter" && it->is_object()) {
            for (auto e = it->begin(); e != it->end(); ++e) emitters->insert(e.key());
        }
        if (pools && key == "Particle Effect" && it->is_object()) {
            if (auto name = it->find("Name"); name != it->end() && name->is_string()) {
                pools->insert(name->get<std::string>());
            }
        }
        if (reported) Component(key, it.value(), description, file, here);
    }
}

void Validator::Component(const std::string& name, const json& value, const json& entity,
                          const std::string& file, const std::string& pointer) {
    if (!readers.Known(name)) {
        Report(file, pointer, "unknown component: no system of the game reads \"" + name + "\"");
        return;
    }
    if (auto error = readers.Read(name, value)) {
        Report(file, pointer, *error);
        return;
    }
    for (const std::string& unread : readers.UnreadKeys(name, value)) {
        Report(file, pointer + unread, "unknown key: the \"" + name + "\" reader ignores it");
    }
    for (const std::string_view key : InertKeys(name)) {
        if (value.is_object() && value.contains(key)) {
            Report(file, Child(pointer, key),
                   "the game reads and keeps this key, but nothing it does depends on it", true);
        }
    }
    References(value, entity, name, file, pointer, true);
}

void Validator::References(const json& value, const json& entity, const std::string& component,
                           const std::string& file, const std::string& pointer, bool top) {
    if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            References(value[i], entity, component, file, pointer + "/" + std::to_string(i), false);
        }
        return;
    }
    if (!value.is_object()) return;
    for (auto it = value.begin(); it != value.end(); ++it) {
        const std::string& key = it.key();
        const std::string here = Child(pointer, key);
        if (key == "States" && it->is_array()) {
            for (std::size_t i = 0; i < it->size(); ++i) {
                const json& state = (*it)[i];
                if (state.is_string() && !SceneExists(state.get<std::string>())) {
                    Report(file, here + "/" + std::to_string(i),
                           "no scene " + SceneFilePathFor(state.get<std::string>()));
                }
            }
        }
        if (!it->is_string()) {
            References(it.value(), entity, component, file, here, false);
            continue;
        }
        const std::string text = it->get<std::string>();
        if (key == "Texture" || EndsWith(key, " Texture")) {
            if (text.empty()) continue;
            if (!InsideAssets("Textures", text)) {
                Report(file, here, "\"" + text + "\" leads outside Assets/");
            } else if (!fs::is_regular_file("Assets/Textures/" + text + ".png")) {
                Report(file, here, "no texture Assets/Textures/" + text + ".png");
            }
        } else if (EndsWith(key, " Sound")) {
            if (!events.count("event:/" + text)) {
                Report(file, here, "no sound bank has the event \"event:/" + text + "\"");
            }
        } else if (key == "State" || EndsWith(key, " State")) {
            if (!SceneExists(text)) Report(file, here, "no scene " + SceneFilePathFor(text));
        } else if (EndsWith(key, " Archetype")) {
            if (EntityFile(text).is_null()) {
                Report(file, here, "no entity file " + EntityPath(text));
            }
        } else if (key.find("Animation") != std::string::npos ||
                   (component == "Animation" && key == "Start")) {
            // The entity's own clips, or those of the entities it makes.
            std::set<std::string> clips;
            AddClips(entity, clips);
            for (auto other = value.begin(); other != value.end(); ++other) {
                if (EndsWith(other.key(), " Archetype") && other->is_string()) {
                    AddClips(EntityFile(other->get<std::string>()), clips);
                }
            }
            if (!clips.count(text)) {
                Report(file, here,
                       "no animation clip \"" + text + "\" in the entity's \"Animation\"");
            }
        } else if (EndsWith(key, " Effect")) {
            const json* emitters = nullptr;
            if (auto found = entity.find("Particle Emitter"); found != entity.end()) {
                emitters = &*found;
            }
            if (!emitters || !emitters->is_object() || !emitters->contains(text)) {
                Report(file, here,
                       "no \"Particle Emitter\" \"" + text + "\" on the entity to emit it");
            }
        } else if (top && component == "UI Element" && key == "Font") {
            if (!InsideAssets("Textures/Fonts", text)) {
                Report(file, here, "\"" + text + "\" leads outside Assets/");
            } else if (!fs::is_regular_file("Assets/Textures/Fonts/" + text + ".json")) {
                Report(file, here, "no font Assets/Textures/Fonts/" + text + ".json");
            }
        } else if (top && component == "TileMap" && key == "TileMapJsonFilePath") {
            // Only the component's own key names a map; the reader has checked it.
            if (InsideAssets("Data/Tiled", text)) TileMap(text);
        }
    }
}

void Validator::TileMap(const std::string& name) {
    // The reader has loaded the map already; left to check are the sheets it only names.
    if (!tileMapsChecked.insert(name).second) return;
    const std::string path = "Assets/Data/Tiled/" + name + ".json";
    const json map = Parse(path);
    if (!map.is_object()) return;
    auto sets = map.find("tilesets");
    if (sets == map.end() || !sets->is_array()) return;
    for (std::size_t i = 0; i < sets->size(); ++i) {
        const json& entry = (*sets)[i];
        const std::string at = "/tilesets/" + std::to_string(i);
        json set = entry;
        std::string setPath = path;
        std::string setPointer = at;
        if (entry.is_object() && entry.contains("source") && entry["source"].is_string()) {
            const std::string source = entry["source"].get<std::string>();
            const auto dot = source.rfind('.');
            const std::string stem = dot == std::string::npos ? "" : source.substr(0, dot);
            setPath = "Assets/Data/Tiled/" + stem + ".json";
            setPointer = "";
            if (!InsideAssets("Data/Tiled", stem) || !fs::is_regular_file(setPath)) continue;
            set = Parse(setPath);
        }
        if (!set.is_object()) continue;
        auto image = set.find("image");
        if (image == set.end() || !image->is_string()) continue;
        // The game opens the texture named after "../Textures/", as a .png.
        std::string texture = image->get<std::string>();
        const auto prefix = texture.find("../Textures/");
        if (prefix == std::string::npos) continue;
        texture.erase(0, prefix + 12);
        if (const auto dot = texture.rfind('.'); dot != std::string::npos) texture.erase(dot);
        const std::string sheet = "Assets/Textures/" + texture + ".png";
        if (!InsideAssets("Textures", texture)) {
            Report(setPath, setPointer + "/image", "\"" + texture + "\" leads outside Assets/");
        } else if (!fs::is_regular_file(sheet))
            Report(setPath, setPointer + "/image", "no image " + sheet);
    }
}

}  // namespace validate
