#include "game/run/RunRecord.h"

#include <cmath>
#include <cstdio>

std::string RunRecord::FormatTime(float seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0f) seconds = 0.0f;
    // In whole tenths first, so that 59.99 s cannot print as "0:60.0". The small allowance
    // keeps a sum of frame times that falls a hair short of a tenth (60 x 1/60 s) on it.
    const long long tenths =
        static_cast<long long>(std::floor(static_cast<double>(seconds) * 10.0 + 1e-4));
    const long long totalSeconds = tenths / 10;
    const long long hours = totalSeconds / 3600;
    const long long minutes = totalSeconds / 60 % 60;
    const long long secs = totalSeconds % 60;
    char text[48];
    if (hours > 0) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", hours, minutes, secs,
                      tenths % 10);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld.%lld", minutes, secs, tenths % 10);
    }
    return text;
}
