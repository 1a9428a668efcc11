#include "services/ui/Font.h"

#include <nlohmann/json.hpp>

#include "engine/ContentPath.h"
#include "engine/DataFile.h"
#include "engine/JsonRead.h"

using json = nlohmann::json;

namespace {

/// Far beyond any glyph sheet; keeps cell arithmetic within int.
constexpr long long kMaxFontCells = 1 << 20;

}  // namespace

float Font::Advance(unsigned char c) const {
    if (!Has(c)) c = '?';
    return Has(c) ? advances[static_cast<std::size_t>(static_cast<long long>(c) - first)] : 0.0f;
}

float Font::LineWidth(std::string_view line) const {
    float width = 0.0f;
    for (char c : line) width += Advance(static_cast<unsigned char>(c));
    return width;
}

glm::ivec2 Font::Cell(unsigned char c) const {
    if (!Has(c)) c = '?';
    const int slot = Has(c) ? static_cast<int>(static_cast<long long>(c) - first) : 0;
    return {slot % columns, slot / columns};
}

std::shared_ptr<const Font> LoadFont(const std::string& name) {
    const std::string path = "./Assets/Textures/Fonts/" + name + ".json";
    if (!InsideAssets("Textures/Fonts", name)) throw DataError(path + ": leads outside Assets/");
    const json j = ReadDataFile(path);
    try {
        auto font = std::make_shared<Font>();
        font->texture = j.at("Texture").get<std::string>();
        if (!InsideAssets("Textures", font->texture)) {
            throw DataError(path + ": /Texture: \"" + font->texture + "\" leads outside Assets/");
        }
        font->columns = json_read::Integer<int>(j.at("Columns"));
        font->rows = json_read::Integer<int>(j.at("Rows"));
        font->first = json_read::Integer<int>(j.at("First"));
        const float cellWidth = j.at("Cell Width").get<float>();
        const float cellHeight = j.at("Cell Height").get<float>();
        if (font->columns < 1 || font->rows < 1 || !(cellWidth > 0.0f) || !(cellHeight > 0.0f)) {
            throw DataError(path + ": the sheet needs columns, rows and cell sizes above 0");
        }
        font->cellAspect = cellWidth / cellHeight;
        font->padding = j.value("Padding", 0.0f) / cellHeight;
        for (const json& advance : j.at("Advances")) {
            font->advances.push_back(advance.get<float>() / cellHeight);
        }
        // In 64 bits: both are up to INT_MAX, and the product overflows int.
        const auto cells = static_cast<long long>(font->columns) * font->rows;
        if (cells > kMaxFontCells) {
            throw DataError(path + ": " + std::to_string(cells) + " sheet cells; at most " +
                            std::to_string(kMaxFontCells));
        }
        if (static_cast<long long>(font->advances.size()) > cells) {
            throw DataError(path + ": more advances than sheet cells");
        }
        return font;
    } catch (const json::exception& e) {
        throw DataFileError(path, e);
    }
}
