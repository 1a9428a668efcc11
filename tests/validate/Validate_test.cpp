// The validator passes the shipped content and catches damaged copies of it.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/TempAssets.h"
#include "tools/validate/Validator.h"

using json = nlohmann::json;
namespace fs = std::filesystem;

namespace {

/// A copy of the shipped Assets/ in a temporary working folder.
class ShippedCopy : public TempAssets {
public:
    ShippedCopy() {
        fs::copy(fs::path(HALVEX_SOURCE_DIR) / "Assets", Root() / "Assets",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    json Read(const std::string& relative) const {
        std::ifstream in(Root() / relative);
        return json::parse(in);
    }
};

std::vector<std::string> Lines() {
    std::vector<std::string> out;
    for (const auto& problem : validate::Validator().Run()) {
        std::ostringstream line;
        line << problem;
        out.push_back(line.str());
    }
    return out;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\n";
    return out;
}

/// Whether exactly one line begins with `start` and it contains `words`.
void ExpectOne(const std::vector<std::string>& lines, const std::string& start,
               const std::string& words) {
    int found = 0;
    for (const auto& line : lines) {
        if (line.rfind(start, 0) == 0) {
            ++found;
            EXPECT_NE(line.find(words), std::string::npos) << line;
        }
    }
    EXPECT_EQ(found, 1) << "looked for " << start << " in\n" << Joined(lines);
}

}  // namespace

TEST(Validate, TheShippedContentIsClean) {
    ShippedCopy assets;
    const auto lines = Lines();
    EXPECT_TRUE(lines.empty()) << Joined(lines);
}

TEST(Validate, DamagedEntityFilesAreCaughtWithFileAndPointer) {
    ShippedCopy assets;
    json player = assets.Read("Assets/Data/Entity/Player.json");
    player["Physiks"] = player["Physics"];
    player["Transform"]["Parnet"] = 0;
    player["Sprite"]["Texture"] = "Player/Nobody";
    player["Player Controller"]["Jump Sound"] = "SFX/Jupm";
    player["Player Controller"]["Walk Animation"] = "Runn";
    player["Player Controller"]["Run Effect"] = "No Dust";
    player["Box Collider"]["Size"] = "large";
    assets.Entity("Player", player);
    assets.Entity("Loop", {{"Children", {"Loop"}}});
    const auto lines = Lines();

    const std::string file = "Assets/Data/Entity/Player.json: ";
    ExpectOne(lines, file + "/Physiks: ", "unknown component");
    ExpectOne(lines, file + "/Transform/Parnet: ", "unknown key");
    ExpectOne(lines, file + "/Sprite/Texture: ", "Assets/Textures/Player/Nobody.png");
    ExpectOne(lines, file + "/Player Controller/Jump Sound: ", "event:/SFX/Jupm");
    ExpectOne(lines, file + "/Player Controller/Walk Animation: ", "\"Runn\"");
    ExpectOne(lines, file + "/Player Controller/Run Effect: ", "\"No Dust\"");
    ExpectOne(lines, file + "/Box Collider: ", "type_error");
    ExpectOne(lines, "Assets/Data/Entity/Loop.json: /Children/0: ", "contains itself");
}

TEST(Validate, AKeyThatChangesNothingIsAWarningNotAFailure) {
    ShippedCopy assets;
    json walker = assets.Read("Assets/Data/Entity/EnemyWalker.json");
    walker["Enemy Collision Handler"]["Kills Player On Contact"] = true;
    assets.Entity("EnemyWalker", walker);
    const auto problems = validate::Validator().Run();
    ASSERT_EQ(problems.size(), 1u) << Joined(Lines());
    EXPECT_TRUE(problems[0].warning);
    EXPECT_EQ(problems[0].pointer, "/Enemy Collision Handler/Kills Player On Contact");
    std::ostringstream line;
    line << problems[0];
    EXPECT_NE(line.str().find(": warning: "), std::string::npos) << line.str();
}

TEST(Validate, DamagedScenesIndexMapsAndBanksAreCaught) {
    ShippedCopy assets;
    json level = assets.Read("Assets/Data/Scene/Level1.json");
    level["Player Two"] = "Playr";
    level["Effects"].erase("FxDust");
    assets.Scene("Level1", level);
    assets.Index({{"F1", "Level9"}, {"NOT_A_KEY", "Level1"}});
    json map = assets.Read("Assets/Data/Tiled/Level1.json");
    map["tilesets"][0]["source"] = "../../../Secret.tsj";
    assets.WriteJson("Assets/Data/Tiled/Level1.json", map);
    json bank = assets.Read("Assets/Banks/SFX.bank");
    bank["Events"]["event:/SFX/Jump"]["Sounds"] = {"Sounds/Missing.wav"};
    assets.WriteJson("Assets/Banks/SFX.bank", bank);
    const auto lines = Lines();

    ExpectOne(lines, "Assets/Data/Scene/Level1.json: /Player Two: ", "Playr.json");
    // The player still emits dust, but no pool of that name is left in the scene.
    ExpectOne(lines, "Assets/Data/Scene/Level1.json: /: ", "\"Dust\"");
    ExpectOne(lines, "Assets/Data/Index.json: /F1: ", "Level9.json");
    ExpectOne(lines, "Assets/Data/Index.json: /NOT_A_KEY: ", "not a key name");
    ExpectOne(lines, "Assets/Data/Entity/Level1Map.json: /TileMap: ", "leads outside Assets/");
    ExpectOne(lines, "Assets/Banks/SFX.bank: /Events/event:~1SFX~1Jump/Sounds: ", "Missing.wav");
}

TEST(Validate, NoFileOutsideAssetsIsOpenedAndFontsAreChecked) {
    ShippedCopy assets;
    // A map and a tile set just outside Assets/: were they opened, their missing sheets would
    // be reported against them.
    assets.Write("Outside.json", R"({"tilesets": [{"image": "../Textures/Nothing.png"}]})");
    json torch = assets.Read("Assets/Data/Entity/DecoTorch.json");
    torch["Sprite"]["Extra"] = {{"TileMapJsonFilePath", "../../../Outside"}};
    assets.Entity("DecoTorch", torch);
    json map = assets.Read("Assets/Data/Tiled/Level1.json");
    map["tilesets"][0]["source"] = "../../../Outside.json";
    assets.WriteJson("Assets/Data/Tiled/Level1.json", map);
    json label = assets.Read("Assets/Data/Entity/UILabel.json");
    label["UI Element"]["Font"] = "../../../Outside";
    assets.Entity("UILabel", label);
    json title = assets.Read("Assets/Data/Entity/UIMainTitle.json");
    title["UI Element"]["Font"] = "Nofont";
    assets.Entity("UIMainTitle", title);
    const auto lines = Lines();

    for (const auto& line : lines) EXPECT_NE(line.find("Outside.json: "), 0u) << line;
    for (const auto& line : lines) EXPECT_EQ(line.find("Nothing"), std::string::npos) << line;
    ExpectOne(lines, "Assets/Data/Entity/UILabel.json: /UI Element", "leads outside Assets/");
    ExpectOne(lines, "Assets/Data/Entity/UIMainTitle.json: /UI Element",
              "Assets/Textures/Fonts/Nofont.json");
}

TEST(Validate, MisspeltListsDeepNestingAndManyProblemsAreReported) {
    ShippedCopy assets;
    json player = assets.Read("Assets/Data/Entity/Player.json");
    player["Sprite"]["Colour"] = {1.0, 0.5, 0.5, 1.0};
    assets.Entity("Player", player);
    // Nesting far beyond any content: one line about it, not a stack overflow.
    std::string deep = R"({"Transform": {"Translation": )";
    for (int i = 0; i < 100000; ++i) deep += '[';
    assets.Write("Assets/Data/Entity/Deep.json", deep);
    // Many problems, each once.
    json many = json::object();
    for (int i = 0; i < 5000; ++i) many["Unknown " + std::to_string(i)] = 0;
    assets.Entity("Many", many);
    const auto lines = Lines();

    ExpectOne(lines, "Assets/Data/Entity/Player.json: /Sprite/Colour: ", "unknown key");
    ExpectOne(lines, "Assets/Data/Entity/Deep.json: /: ", "nested more than");
    int unknown = 0;
    for (const auto& line : lines) unknown += line.rfind("Assets/Data/Entity/Many.json", 0) == 0;
    EXPECT_EQ(unknown, 5000);
}
