#!/usr/bin/env bash
# End to end: Halvex starts under a virtual X server, the splash screen gives way to the main
# menu, a click beside the buttons does nothing, a click on Quit ends the program with status 0.
#
#   menu_quit.sh <path to Halvex> <source folder with Assets/>
#
# Run it under xvfb-run (or let it start one): the ctest entry does `xvfb-run -a`.
set -euo pipefail

halvex=$(readlink -f "$1")
source_dir=$(readlink -f "$2")

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x720x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
# The game reads ./Assets from its working folder.
ln -s "$source_dir/Assets" "$work/Assets"
cd "$work"

"$halvex" >"$work/out.log" 2>&1 &
pid=$!

fail() {
    echo "menu_quit: $*" >&2
    echo "--- Halvex output:" >&2
    cat "$work/out.log" >&2 || true
    exit 1
}

window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Halvex$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "Halvex ended before its window opened"
    sleep 0.1
done
[ -n "$window" ] || fail "no Halvex window after 10 s"

# Picture point of a UI world point (the "UI" camera is 10 units high, centred on the origin).
read -r width height < <(xdotool getwindowgeometry "$window" |
    awk '/Geometry/ { split($2, s, "x"); print s[1], s[2] }')
pixel() {
    # Letter-boxed 16:9 picture inside the window.
    awk -v w="$width" -v h="$height" -v x="$1" -v y="$2" 'BEGIN {
        pw = w; ph = w * 9 / 16; if (ph > h) { ph = h; pw = h * 16 / 9 }
        unit = ph / 10
        printf "%d %d\n", w / 2 + x * unit, h / 2 - y * unit }'
}
click_at() {
    read -r px py < <(pixel "$1" "$2")
    xdotool mousemove --window "$window" "$px" "$py"
    sleep 0.2
    xdotool click --window "$window" 1
}

# The splash screen moves on by itself after 2 s (or on this click); wait for the menu state.
sleep 1
click_at 6 4
sleep 2
kill -0 "$pid" 2>/dev/null || fail "Halvex ended before the menu was used"

# Beside the buttons: nothing happens.
click_at 6 -2.4
sleep 1
kill -0 "$pid" 2>/dev/null || fail "a click beside the buttons ended Halvex"

# Quit (centre at 0, -2.4 in the "UI" camera). Retried while a slow machine is still loading.
for _ in $(seq 1 10); do
    click_at 0 -2.4
    for _ in $(seq 1 10); do
        kill -0 "$pid" 2>/dev/null || break 2
        sleep 0.1
    done
done
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "Halvex still runs after clicking Quit"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "Halvex exited with status $status"
echo "menu_quit: Halvex reached the main menu and quit with status 0"
