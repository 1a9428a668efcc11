#!/usr/bin/env bash
# Builds the Debian package of the game: a release build laid out the way Debian installs games,
# then CPack. Prints the path of the .deb it wrote.
# Usage: tools/package.sh [BUILD]   (run from anywhere)
#   without BUILD: the package preset, a build of its own in build/package;
#   with BUILD, an existing release build (the test command's): its install layout and prefix
#   are switched to Debian's for the packaging and put back afterwards. Only the unit that
#   knows the content's installed place is compiled again, since the release preset already
#   has the hardening flags Debian builds with.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh >&2
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

if [ $# -eq 0 ]; then
    build=build/package
    cmake --preset package "${launcher[@]}" >/dev/null
else
    build=$1
    cache=$build/CMakeCache.txt
    [ -f "$cache" ] || { echo "package: $build is not a configured build" >&2; exit 1; }
    grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$cache" ||
        { echo "package: $build is not a release build" >&2; exit 1; }
    cached() { sed -n "s/^$1:[A-Z]*=//p" "$cache"; }
    layout=$(cached HALVEX_INSTALL_LAYOUT)
    prefix=$(cached CMAKE_INSTALL_PREFIX)
    restore() {
        cmake -S . -B "$build" -DHALVEX_INSTALL_LAYOUT="$layout" -DCMAKE_INSTALL_PREFIX="$prefix" \
            >/dev/null && cmake --build "$build" --target Halvex >&2
    }
    trap restore EXIT
    cmake -S . -B "$build" -DHALVEX_INSTALL_LAYOUT=debian -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
cmake --build "$build" --target Halvex >&2
rm -f "$build"/halvex_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/halvex_*.deb
