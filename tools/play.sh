#!/usr/bin/env bash
# Installs what Halvex needs, builds it and starts the game from the repository root.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/bin/Halvex
