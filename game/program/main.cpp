#include "game/platform/Console.h"
#include "game/program/GameProgram.h"

// Without arguments the game plays; everything it shows comes from Assets/, looked for in the
// working folder, beside the program and in its install prefix. The command line only records
// or replays input (see docs/replays.md).
int main(int argc, char** argv) {
    ReachStartingConsole();
    return RunGame(argc, argv);
}
