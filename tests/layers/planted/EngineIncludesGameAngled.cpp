// Planted: angle brackets do not get the engine past its layer either.
#include <game/Roster.h>
