#!/usr/bin/env bash
# Installs what Halvex needs, builds it and starts the game from the repository root.
# With --smoke (used by the test command) the game instead runs for a few seconds on a display
# of its own and must open its window, keep running and write nothing to its error output.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target Halvex
if [ "${1:-}" = "--smoke" ]; then
    exec tools/with-xvfb.sh tools/smoke.sh build/release/bin/Halvex
fi
exec build/release/bin/Halvex
