#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <glm/vec2.hpp>

/// A bitmap font: a grid sheet of glyph cells under ./Assets/Textures/ and the advance of each
/// glyph, as tools/fontgen writes them. Sizes are in cell heights, so a label of text size s
/// draws cells s high.
struct Font {
    std::string texture;
    int columns = 16;
    int rows = 6;
    /// Code of the glyph in the top-left cell; cells follow in reading order.
    int first = 32;
    /// Cell width over cell height.
    float cellAspect = 1.0f;
    /// Space from a cell's left edge to the glyph's origin, in cell heights.
    float padding = 0.0f;
    /// Advance of each glyph from `first` on, in cell heights.
    std::vector<float> advances;

    /// Whether the sheet has a cell for this character.
    bool Has(unsigned char c) const {
        // In 64 bits: `c - first` overflows int for a "First" near INT_MIN.
        const long long slot = static_cast<long long>(c) - first;
        return slot >= 0 && slot < static_cast<long long>(advances.size());
    }
    /// Width of one line of text at size 1 (characters without a cell count as '?').
    float LineWidth(std::string_view line) const;
    /// Sheet cell of a character; '?' for characters the sheet lacks.
    glm::ivec2 Cell(unsigned char c) const;
    float Advance(unsigned char c) const;
};

/// Reads ./Assets/Textures/Fonts/<name>.json; a name leading outside Assets/, or a missing or
/// malformed file, raises a DataError naming it.
std::shared_ptr<const Font> LoadFont(const std::string& name);
