#!/usr/bin/env bash
# Runs every shipped replay (Assets/Replays/*.json) headless, twice with the first Halvex given
# (default build/dev/bin/Halvex) and once with each other one, and fails unless every run
# reaches the replay's expected state and all runs of one replay, in every build, give the same
# hash. (The first build's two runs show that a replay repeats itself; a slow sanitizer build
# given after it needs only one.)
# Usage: tools/check-replays.sh [HALVEX...]   (run from anywhere; it reads this tree's Assets)
set -uo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- build/dev/bin/Halvex
programs=()
for program in "$@"; do programs+=("$(realpath "$program")"); done

shopt -s nullglob
replays=(Assets/Replays/*.json)
if [ ${#replays[@]} -eq 0 ]; then
    echo "replays: none in Assets/Replays" >&2
    exit 1
fi

failed=0
for replay in "${replays[@]}"; do
    first_hash=""
    runs=2
    for program in "${programs[@]}"; do
        for run in $(seq 1 $runs); do
            output=$("$program" --replay "$replay" --headless 2>/dev/null)
            status=$?
            line=$(printf '%s\n' "$output" | grep -o 'replay: frames .*' | tail -n 1)
            echo "$replay ($program, run $run): ${line:-no result line}"
            if [ $status -ne 0 ] || [[ "$line" != *", expected state reached" ]]; then
                echo "replays: FAIL: $replay did not reach its expected state (status $status)" >&2
                failed=1
                continue
            fi
            hash=$(printf '%s\n' "$line" | sed -n 's/.*, hash \([0-9a-f]*\),.*/\1/p')
            if [ -z "$first_hash" ]; then
                first_hash=$hash
            elif [ "$hash" != "$first_hash" ]; then
                echo "replays: FAIL: $replay gave hash $hash, earlier $first_hash" >&2
                failed=1
            fi
        done
        runs=1
    done
done
if [ $failed -ne 0 ]; then exit 1; fi
echo "replays: ${#replays[@]} replay(s), ${#programs[@]} build(s), equal hashes"
