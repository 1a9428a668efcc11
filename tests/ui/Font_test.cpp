// Fonts whose numbers sit at the edges of int: every glyph lookup stays inside the table, and
// a sheet too large to count is refused for that reason.
#include <gtest/gtest.h>

#include <climits>

#include "engine/DataError.h"
#include "services/ui/Font.h"
#include "tests/support/TempAssets.h"

using json = nlohmann::json;

namespace {

json FontFile(int first, int columns, int rows, std::size_t advances) {
    return {{"Texture", "Fonts/DejaVuSans"},
            {"Columns", columns},
            {"Rows", rows},
            {"First", first},
            {"Cell Width", 46},
            {"Cell Height", 53},
            {"Advances", json(std::vector<double>(advances, 26.5))}};
}

std::string LoadError(const std::string& name) {
    try {
        (void)LoadFont(name);
    } catch (const DataError& e) {
        return e.what();
    }
    ADD_FAILURE() << "font " << name << " loaded";
    return "";
}

}  // namespace

TEST(Font, AFirstCodeNearTheEndsOfIntHasNoGlyphsOutsideItsTable) {
    for (const int first : {INT_MIN, INT_MIN + 100, INT_MAX - 10, INT_MAX}) {
        Font font;
        font.first = first;
        font.advances.assign(96, 0.5f);
        for (int c = 0; c < 256; ++c) {
            const auto code = static_cast<unsigned char>(c);
            EXPECT_FALSE(font.Has(code)) << first << " " << c;
            EXPECT_EQ(font.Advance(code), 0.0f);
            EXPECT_EQ(font.Cell(code), glm::ivec2(0, 0));
        }
    }
    // The ordinary case still finds its glyphs, the last one included.
    Font font;
    font.advances.assign(96, 0.5f);
    EXPECT_TRUE(font.Has(' ') && font.Has(127) && !font.Has(128) && !font.Has(31));
    EXPECT_EQ(font.Cell(127), glm::ivec2(15, 5));
}

TEST(Font, HugeSheetsAndNamesOutsideAssetsAreRefused) {
    TempAssets assets;
    assets.WriteJson("Assets/Textures/Fonts/Huge.json", FontFile(32, 65536, 65536, 96));
    EXPECT_NE(LoadError("Huge").find("4294967296 sheet cells"), std::string::npos)
        << LoadError("Huge");
    assets.WriteJson("Assets/Textures/Fonts/Few.json", FontFile(32, 2, 2, 5));
    EXPECT_NE(LoadError("Few").find("more advances than sheet cells"), std::string::npos);
    assets.WriteJson("Outside.json", FontFile(32, 16, 6, 96));
    EXPECT_NE(LoadError("../../../Outside").find("leads outside Assets/"), std::string::npos);
    json texture = FontFile(32, 16, 6, 96);
    texture["Texture"] = "../../Secret";
    assets.WriteJson("Assets/Textures/Fonts/Texture.json", texture);
    EXPECT_NE(LoadError("Texture").find("/Texture"), std::string::npos);
    assets.WriteJson("Assets/Textures/Fonts/Fine.json", FontFile(32, 16, 6, 96));
    EXPECT_EQ(LoadFont("Fine")->advances.size(), 96u);
}
