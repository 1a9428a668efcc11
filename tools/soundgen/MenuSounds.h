#pragma once

#include <vector>

/// The music of the screens around the levels and the menus' clicks, at soundgen's rate
/// (22050 Hz, mono, -1..1). The loops' notes die away inside them, so their ends join their
/// starts without a seam.
namespace menu_sounds {

/// Splash and main menu: an unhurried tune of bells and a soft square lead over a triangle
/// bass, C major, 100 per minute.
std::vector<double> MenuTheme();
/// The win screen: a bright square-wave fanfare with an arpeggio, G major, 132 per minute.
std::vector<double> WinTheme();
/// The lose screen: a slow falling line over a low drone, A minor, 72 per minute.
std::vector<double> LoseTheme();
/// A short tick as the focus moves.
std::vector<double> Move();
/// Two notes rising: a button pressed.
std::vector<double> Press();
/// Two notes falling: one step back.
std::vector<double> Back();

}  // namespace menu_sounds
