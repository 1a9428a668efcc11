#include "tools/levelart/Layouts.h"
#include "tools/levelart/Tiles.h"

namespace levelart {

namespace {

/// The fortress's keeps: walls with battlements along their tops.
int Level3Background(int r, int c) {
    const int block = c / 24, local = c % 24;
    if (local < 7 || local > 16) return 0;
    const int top = 8 + Noise(block, 0, 61) % 4;
    if (r < top || r > 17) return 0;
    if (r == top && local % 2 == 1) return 0;  // the crenels
    if (local == 11 && r >= top + 2 && r <= top + 3) return kWindow + 1;
    return kBackStone + 1;
}

}  // namespace

Layout Level3Layout() {
    LayoutBuilder b(170);
    b.Fill(16, 17, 10, 12, '#');  // a knee-high step
    b.Pit(16, 19);
    b.Fill(17, 17, 31, 33, '^');
    b.Fill(14, 14, 29, 30, '=');  // narrow ledges over the spikes
    b.Fill(14, 14, 33, 34, '=');
    b.Fill(15, 17, 38, 40, '#');
    b.Pit(49, 52);
    b.Fill(16, 16, 58, 60, '=');  // steps up to the tall wall, the lower one three tiles
    b.Fill(13, 13, 61, 63, '=');
    b.Fill(11, 17, 64, 65, '#');
    b.Pit(77, 80);
    b.Fill(17, 17, 85, 86, '^');  // two tiles: the third pit's landing is close
    b.Pit(92, 95);
    b.Fill(17, 17, 110, 112, '^');
    b.Pit(116, 119);
    b.Fill(17, 17, 136, 138, '^');
    b.Pit(148, 151);
    b.Fill(16, 17, 161, 163, '#');  // a last block, two tiles: the wall is close behind
    b.rows[23][0] = 'o';
    return {b.rows, Level3Background};
}

}  // namespace levelart
