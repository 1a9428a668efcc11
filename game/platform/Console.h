#pragma once

/// Makes the standard streams of a windowed program reach the console it was started from, so
/// that a headless replay still prints its line. Streams that already lead somewhere (a pipe, a
/// file) are left alone; elsewhere there is nothing to do.
void ReachStartingConsole();
