#pragma once

/// The Halvex program: plays normally without arguments, or records, or plays a recording
/// back (in the window or headless) and prints its one-line result. It first finds the folder
/// holding Assets/ (see game/program/ContentFolder.h) and makes it the working folder. Returns
/// the exit status: 0 done (for a replay: its expected state reached), 1 the expected state not
/// reached or the game failed, 2 a bad command line, a bad recording or no content found.
int RunGame(int argc, char** argv);
