#!/usr/bin/env bash
# Runs the end-to-end suite until it has passed N times in a row (default 50), to show that the
# window tests hold up on a loaded machine: usage `tools/soak-e2e.sh [N] [BUILD_DIR]`, with
# BUILD_DIR a configured build with tests (default build/release). Each run's result, time and
# load average go to the standard output; a failed run's ctest output is kept in
# soak-fail-<run>.log in the current folder, and the count starts again. Stops after N in a
# row, or after 3 N runs in all.
set -u
want=${1:-50}
build=${2:-build/release}
[ -d "$build" ] || { echo "soak-e2e: no build folder $build" >&2; exit 2; }
run=0 streak=0 failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
while [ "$streak" -lt "$want" ] && [ "$run" -lt $((3 * want)) ]; do
    run=$((run + 1))
    start=$SECONDS
    load=$(cut -d' ' -f1 /proc/loadavg)
    if ctest --test-dir "$build" -L e2e --output-on-failure >"$log" 2>&1; then
        result=pass streak=$((streak + 1))
    else
        result=FAIL streak=0 failed=$((failed + 1))
        cp "$log" "soak-fail-$run.log"
    fi
    echo "$(date +%T) run $run $result in $((SECONDS - start)) s, $streak in a row," \
        "load average $load at the start"
done
echo "soak-e2e: $streak in a row after $run runs, $failed failed"
[ "$streak" -ge "$want" ]
