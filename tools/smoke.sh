#!/usr/bin/env bash
# Starts the game given as $1 on the current display, waits for its window, lets it run for
# SMOKE_SECONDS (default 5) and fails if it ends early or writes to its error output.
set -u
game=$1
seconds=${SMOKE_SECONDS:-5}
err=$(mktemp)
"$game" >/dev/null 2>"$err" &
pid=$!
finish() {
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -f "$err"
}
trap finish EXIT
fail() {
    echo "smoke: FAIL: $*" >&2
    cat "$err" >&2
    exit 1
}

waited=0
until xdotool search --name '^Halvex$' >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || fail "the game ended before opening its window"
    [ "$waited" -ge 600 ] && fail "no window after 60s"
    sleep 0.1
    waited=$((waited + 1))
done
sleep "$seconds"
kill -0 "$pid" 2>/dev/null || fail "the game ended within ${seconds}s of opening its window"
[ ! -s "$err" ] || fail "the game wrote to its error output"
echo "smoke: the game ran ${seconds}s with its window open"
