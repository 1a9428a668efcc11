#pragma once

#include <vector>

/// The music loops of Level2 and Level3, at soundgen's rate (22050 Hz, mono, -1..1). Every
/// note dies away inside the loop, so the end joins the start without a seam.
namespace level_music {

/// The crystal cave: slow bell arpeggios with an echo over a low drone, D minor, 96 per minute.
std::vector<double> Cave();
/// The fortress at night: a driving bass, a pulse lead and a snare, E minor, 144 per minute.
std::vector<double> Fortress();

}  // namespace level_music
