// Planted: physics sits below the tile maps.
#include "tiled/Tile.h"
