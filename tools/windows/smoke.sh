#!/usr/bin/env bash
# Starts the Windows zip's game in a window under Wine on an Xvfb display of its own for a few
# seconds and takes a screenshot (default windows-menu.png in the working folder), which shows
# the main menu. Needs the zip (tools/windows/check.sh makes it) and ImageMagick's import.
# Usage: tools/windows/smoke.sh [SCREENSHOT.png] [SECONDS]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
shot=$(realpath -m "${1:-windows-menu.png}")
seconds=${2:-20}
zip=$root/build/windows/package/Halvex-windows-x64.zip
[ -f "$zip" ] || { echo "windows-smoke: no $zip: run tools/windows/check.sh" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && cmake -E tar xf "$zip") || exit 1
export SCRATCH=$scratch SHOT=$shot SECONDS_SHOWN=$seconds
"$root/tools/with-xvfb.sh" bash -c '
    export WINEPREFIX=$SCRATCH/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    cd "$SCRATCH/Halvex-windows-x64"
    /usr/lib/wine/wine64 ./Halvex.exe >"$SCRATCH/game.log" 2>&1 &
    game=$!
    sleep "$SECONDS_SHOWN"
    alive=0
    kill -0 $game 2>/dev/null && alive=1
    import -window root "$SHOT"
    WINEPREFIX=$SCRATCH/wineprefix /usr/lib/wine/wineserver -k
    wait $game 2>/dev/null
    if [ $alive -ne 1 ]; then
        echo "windows-smoke: FAIL: the game ended within $SECONDS_SHOWN s:" >&2
        tail -n 20 "$SCRATCH/game.log" >&2
        exit 1
    fi
'
status=$?
[ $status -eq 0 ] && echo "windows-smoke: the game ran $seconds s in a window; screenshot $shot"
exit $status
