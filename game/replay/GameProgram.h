#pragma once

/// The Halvex program: plays normally without arguments, or records, or plays a recording
/// back (in the window or headless) and prints its one-line result. Returns the exit status:
/// 0 done (for a replay: its expected state reached), 1 the expected state not reached or the
/// game failed, 2 a bad command line or a bad recording.
int RunGame(int argc, char** argv);
