#pragma once

#include <vector>

// The sounds of Level1's goals, at `rate` frames per second, peaks at or below 1.
std::vector<double> CheckpointChime(int rate);
std::vector<double> WallOnBoom(int rate);
