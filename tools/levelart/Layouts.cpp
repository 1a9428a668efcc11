#include "tools/levelart/Layouts.h"

#include "tools/levelart/Tiles.h"

namespace levelart {

LayoutBuilder::LayoutBuilder(int width)
    : rows(kLevelHeight, std::string(static_cast<std::size_t>(width), '.')) {
    Fill(18, 22, 0, width - 1, '#');         // ground
    Fill(0, 17, 0, 0, '#');                  // left boundary
    Fill(0, 17, width - 1, width - 1, '#');  // right boundary
}

void LayoutBuilder::Fill(int r0, int r1, int c0, int c1, char ch) {
    for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) rows[r][c] = ch;
    }
}

void LayoutBuilder::Pit(int c0, int c1) {
    Fill(18, 21, c0, c1, '.');
    Fill(22, 22, c0, c1, 'v');
}

namespace {

/// Stone ruins behind the middle of the level.
int Level1Background(int r, int c) {
    const bool ruin = (c >= 33 && c <= 45 && r >= 9 && r <= 17 && (c % 4 != 0 || r > 13)) ||
                      (c >= 66 && c <= 71 && r >= 12 && r <= 17) ||
                      (c >= 5 && c <= 9 && r >= 14 && r <= 17 && r + c > 21);
    return ruin ? kBackStone + 1 : 0;
}

}  // namespace

Layout Level1Layout() {
    LayoutBuilder b(100);
    b.Fill(16, 17, 12, 15, '#');  // a knee-high step
    b.Fill(14, 14, 17, 21, '=');  // one-way platforms climbing up
    b.Fill(11, 11, 22, 26, '=');
    b.Pit(29, 31);                // the first pit, three tiles: a plain jump clears it
    b.Fill(17, 17, 37, 38, '^');  // the first spikes, two tiles, with a platform over them
    b.Fill(14, 14, 34, 41, '=');
    b.Fill(16, 16, 44, 49, '=');  // steps up to the tall wall, the upper one against it
    b.Fill(13, 13, 48, 51, '=');
    b.Fill(12, 17, 52, 53, '#');  // the tall wall: only the upper step reaches over it
    b.Pit(62, 65);
    b.Fill(17, 17, 73, 75, '^');  // more spikes, narrow enough for a plain jump
    b.Fill(14, 14, 78, 83, '=');  // high platforms
    b.Fill(10, 10, 84, 89, '=');
    b.Fill(16, 17, 92, 94, '#');  // a last block, two tiles: a held jump clears it with room
    b.rows[23][0] = 'o';
    return {b.rows, Level1Background};
}

}  // namespace levelart
