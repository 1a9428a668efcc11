// Planted: the engine may not see the game.
#include "game/Roster.h"
