#!/usr/bin/env bash
# Without a display the game says so on one line and fails.
set -u
out=$(cd "$HALVEX_ROOT" && env -u DISPLAY -u WAYLAND_DISPLAY "$HALVEX" 2>&1)
status=$?
[ "$status" -ne 0 ] || { echo "FAIL: exit status 0 without a display"; exit 1; }
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || { echo "FAIL: more than one line: $out"; exit 1; }
case "$out" in
    "Halvex: error: no display"*) echo "ok: $out" ;;
    *) echo "FAIL: unexpected output: $out"; exit 1 ;;
esac
