#!/usr/bin/env bash
# The Windows build end to end: builds the platform libraries (once, tools/windows/deps.sh), the
# `windows` preset and its zip, unpacks the zip into a temporary folder and plays every shipped
# replay (Assets/Replays/*.json) headless under Wine from there, started from another folder.
# Fails unless each replay reaches its expected state. Where a Linux build is given (default
# build/release/bin/Halvex, when present) each replay's hash is compared with its own; a
# difference is reported, not failed, as the two C libraries' math functions may round
# differently (see docs/windows.md).
# Usage: tools/windows/check.sh [LINUX_HALVEX]   (run from anywhere)
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
linux=${1:-build/release/bin/Halvex}

phase() { echo "windows: $1 ($(($(date +%s) - started)) s)"; }
started=$(date +%s)

tools/windows/deps.sh || exit 1
phase "platform libraries ready"

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake --preset windows "${launcher[@]}" >/dev/null || exit 1
cmake --build --preset windows -j"${JOBS:-2}" || exit 1
phase "cross build done"
(cd build/windows && cpack -G ZIP >/dev/null) || exit 1
zip=build/windows/package/Halvex-windows-x64.zip
[ -f "$zip" ] || { echo "windows: FAIL: no $zip" >&2; exit 1; }
phase "zip made: $zip, $(du -k "$zip" | cut -f1) KiB"

scratch=$(mktemp -d)
trap 'wineserver_kill; rm -rf "$scratch"' EXIT
export WINEPREFIX=$scratch/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver_kill() { WINEPREFIX=$scratch/wineprefix /usr/lib/wine/wineserver -k 2>/dev/null || true; }
# An unrelated folder as the working one: the game must find its content beside itself.
mkdir -p "$scratch/elsewhere"
(cd "$scratch" && cmake -E tar xf "$root/$zip") || exit 1
game=$scratch/Halvex-windows-x64
[ -f "$game/Halvex.exe" ] || { echo "windows: FAIL: the zip has no Halvex-windows-x64/Halvex.exe" >&2; exit 1; }
# The prefix is made once, before the first replay, so the replays' times are their own.
"$wine" wineboot --init >/dev/null 2>&1
phase "zip unpacked, Wine prefix ready"

shopt -s nullglob
replays=("$game"/Assets/Replays/*.json)
[ ${#replays[@]} -gt 0 ] || { echo "windows: FAIL: no replays in the zip" >&2; exit 1; }

hash_of() { printf '%s\n' "$1" | sed -n 's/.*, hash \([0-9a-f]*\),.*/\1/p'; }

failed=0
same=0
differ=0
for replay in "${replays[@]}"; do
    name=$(basename "$replay")
    output=$(cd "$scratch/elsewhere" && "$wine" "$game/Halvex.exe" --replay "$replay" --headless 2>"$scratch/stderr")
    status=$?
    line=$(printf '%s\n' "$output" | tr -d '\r' | grep -o 'replay: frames .*' | tail -n 1)
    echo "$name (Windows): ${line:-no result line}"
    if [ $status -ne 0 ] || [[ "$line" != *", expected state reached" ]]; then
        echo "windows: FAIL: $name did not reach its expected state under Wine (status $status)" >&2
        sed 's/^/  /' "$scratch/stderr" | tail -n 20 >&2
        failed=1
        continue
    fi
    if [ -x "$linux" ]; then
        linux_line=$("$linux" --replay "Assets/Replays/$name" --headless 2>/dev/null | grep -o 'replay: frames .*' | tail -n 1)
        if [ "$(hash_of "$line")" = "$(hash_of "$linux_line")" ]; then
            same=$((same + 1))
        else
            echo "$name (Linux):   ${linux_line:-no result line}"
            differ=$((differ + 1))
        fi
    fi
done
phase "replays played"
if [ $failed -ne 0 ]; then exit 1; fi
echo "windows: ${#replays[@]} replay(s) reached their expected states under Wine"
if [ -x "$linux" ]; then
    echo "windows: hashes equal to $linux's: $same, different: $differ"
fi
