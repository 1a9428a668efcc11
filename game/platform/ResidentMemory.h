#pragma once

/// The running program's resident memory in KiB, or -1 where it cannot be read.
long ResidentKiB();
