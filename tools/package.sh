#!/usr/bin/env bash
# Builds the Debian package of the game: a release build laid out the way Debian installs games
# (build/package), then CPack. Prints the path of the .deb it wrote.
# Usage: tools/package.sh   (run from anywhere)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake --preset package "${launcher[@]}" >/dev/null
cmake --build --preset package --target Halvex
rm -f build/package/halvex_*.deb
(cd build/package && cpack -G DEB >/dev/null)
ls build/package/halvex_*.deb
