#include "tests/game/GameFixture.h"

#include <algorithm>

using json = nlohmann::json;

std::vector<std::unique_ptr<SystemBase>> RosterWithout(
    std::initializer_list<std::string_view> names) {
    std::vector<std::unique_ptr<SystemBase>> kept;
    for (auto& system : MakeRoster()) {
        if (std::find(names.begin(), names.end(), system->Name()) == names.end()) {
            kept.push_back(std::move(system));
        }
    }
    return kept;
}

void WriteMap(const TempAssets& assets, const std::vector<std::string>& rows) {
    auto flag = [](const char* name) { return json{{"name", name}, {"value", true}}; };
    json tiles = json::array({
        {{"id", 0}, {"properties", {flag("isCollidable")}}},
        {{"id", 1}, {"properties", {flag("isCollidable"), flag("canJumpThrough")}}},
        {{"id", 2}, {"properties", {flag("isCollidable"), flag("killsPlayer")}}},
        {{"id", 3}, {"properties", {flag("isCollidable"), flag("pit")}}},
        {{"id", 4}, {"properties", {flag("AtPosition0,0")}}},
    });
    assets.WriteJson("Assets/Data/Tiled/Tiles.json", {{"tilecount", 8},
                                                      {"columns", 4},
                                                      {"image", "../Textures/Test/tiles.png"},
                                                      {"tiles", tiles}});
    json data = json::array();
    const std::string codes = ".#=^vo";
    for (const std::string& row : rows) {
        for (char c : row) {
            const auto at = codes.find(c);
            data.push_back(at == std::string::npos ? 0 : static_cast<int>(at));
        }
    }
    assets.WriteJson("Assets/Data/Tiled/Map.json",
                     {{"width", rows.at(0).size()},
                      {"height", rows.size()},
                      {"tilesets", {{{"firstgid", 1}, {"source", "Tiles.tsx"}}}},
                      {"layers", {{{"data", data}}}}});
    assets.Entity("Map", {{"TileMap", {{"Tile Size", 0.5}, {"TileMapJsonFilePath", "Map"}}}});
}

void WriteHero(const TempAssets& assets, float gravity, const json& control) {
    json controller = {{"Walk Acceleration", 600},   {"Walk Speed Max", 8},
                       {"Glide Acceleration", 300},  {"Jump Velocity", 14},
                       {"Friction Threshhold", 0.5}, {"Friction Multiplier", 600},
                       {"Time to Jump", 0.1},        {"Time to Land", 0.1}};
    if (control.is_object()) controller.merge_patch(control);
    assets.Entity("Hero", {{"Transform", {{"Translation", {0, 0, 0}}}},
                           {"Box Collider", {{"Size", {0.4, 0.9}}}},
                           {"Physics", {{"Acceleration", {0, gravity, 0}}}},
                           {"Player Controller", controller},
                           {"Player Collision Handler", {{"Hurt Sound", "Player/Hurt"}}}});
}

void WritePauseMenu(const TempAssets& assets) {
    assets.Entity(
        "PauseMenu",
        {{"Pause Menu",
          {{"Menu", "Pause Menu"},
           {"Sub Menus",
            {"Options Menu", "How To Play Menu", "Return To Menu Panel", "Confirmation Menu"}}}}});
}

std::vector<EntityId> FindEntities(TestEngine& test, const std::string& file) {
    const std::unordered_map<EntityId, std::string>* names = nullptr;
    test.Send(MessageQueryEntityNames(&names));
    std::vector<EntityId> found;
    if (!names) return found;
    for (const auto& [id, name] : *names) {
        if (name == file) found.push_back(id);
    }
    std::sort(found.begin(), found.end());
    return found;
}

EntityId FindEntity(TestEngine& test, const std::string& file) {
    const auto found = FindEntities(test, file);
    return found.empty() ? 0 : found.front();
}
