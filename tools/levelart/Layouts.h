#pragma once
// The levels' layouts, drawn as characters: '#' solid, '=' one-way platform, '^' hazard,
// 'v' pit, 'o' the anchor (the cell centred on the world origin). Every level is 24 rows high
// with the anchor in the bottom-left cell, so cell (row r, column c) is centred at world
// (c, 23 - r) and the ground's top is at y = 5.5.

#include <string>
#include <vector>

namespace levelart {

constexpr int kLevelHeight = 24;

struct Layout {
    std::vector<std::string> rows;
    /// The background tile (a TileIndex + 1, or 0) of a cell.
    int (*background)(int r, int c);

    int Width() const { return static_cast<int>(rows.front().size()); }
};

/// A layout of the given width with the ground (rows 18-22), the boundary walls and the
/// anchor; `fill` draws the rest.
struct LayoutBuilder {
    explicit LayoutBuilder(int width);
    void Fill(int r0, int r1, int c0, int c1, char ch);
    /// A pit four rows deep with its killing floor, columns c0..c1.
    void Pit(int c0, int c1);
    std::vector<std::string> rows;
};

Layout Level1Layout();
Layout Level2Layout();
Layout Level3Layout();

}  // namespace levelart
