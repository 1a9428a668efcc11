#pragma once

#include <ostream>

#include "engine/FrameProfile.h"

/// Writes what --profile prints: frame CPU times (median, 99th percentile, worst), messages
/// per frame, the time of each noted frame (state entries) and every system's and manager's
/// median share, most expensive first. `readyMs`: from program start to the first frame.
void WriteProfileReport(std::ostream& out, const FrameProfile& profile, double readyMs);
