#include "game/replay/GameProgram.h"

// Without arguments the game plays; everything it shows comes from ./Assets. The command line
// only records or replays input (see docs/replays.md).
int main(int argc, char** argv) {
    return RunGame(argc, argv);
}
