#include "tools/levelart/Layouts.h"
#include "tools/levelart/Tiles.h"

namespace levelart {

namespace {

/// Crystal columns rising from the cave floor, of uneven heights.
int Level2Background(int r, int c) {
    if (c % 9 != 4 && c % 9 != 5) return 0;
    const int top = 4 + Noise(c / 9, 0, 51) % 9;
    return r >= top && r <= 17 ? kBackStone + 1 : 0;
}

}  // namespace

Layout Level2Layout() {
    LayoutBuilder b(140);
    b.Fill(16, 17, 10, 13, '#');  // a knee-high step
    b.Pit(18, 21);
    b.Fill(14, 14, 26, 30, '=');  // ledges over the first spikes
    b.Fill(11, 11, 32, 36, '=');
    b.Fill(17, 17, 34, 36, '^');
    b.Fill(15, 17, 44, 46, '#');  // a block three tiles high
    b.Pit(54, 57);
    b.Fill(17, 17, 62, 64, '^');  // spikes under a ledge
    b.Fill(14, 14, 60, 66, '=');
    b.Fill(16, 16, 71, 73, '=');  // steps up to the tall wall
    b.Fill(13, 13, 73, 75, '=');
    b.Fill(11, 17, 76, 77, '#');
    b.Pit(86, 89);
    b.Fill(17, 17, 106, 108, '^');
    b.Pit(112, 115);
    b.Fill(16, 17, 129, 131, '#');  // a last block, two tiles: the wall is close behind
    b.rows[23][0] = 'o';
    return {b.rows, Level2Background};
}

}  // namespace levelart
