#!/usr/bin/env bash
# Writes Assets/Replays/Level1-lose.json from scripted input, then plays it headless to check
# that it still reaches its expected state. Level1 has no exit yet, so the script runs right
# into the first pit, once per life, until the lose state: each round presses D, jumps the
# knee-high step on the way, holds D until the player has fallen into the pit, and lets go
# while the checkpoint is restored.
# Usage: tools/replays/make-level1.sh [HALVEX]   (default build/dev/bin/Halvex)
set -euo pipefail
cd "$(dirname "$0")/../.."
halvex=$(realpath "${1:-build/dev/bin/Halvex}")
out=Assets/Replays/Level1-lose.json

# Timings in frames of 1/60 s; adjust them when the level's layout changes.
readonly key_d=68
readonly key_space=32
readonly settle=90   # frames before the first press: the level's start
readonly jump=45     # frames after the press: the jump over the step at x 12
readonly hold=420    # D held: from the start to the pit and down it
readonly rest=150    # D released: the death sequence and the checkpoint restore
readonly rounds=${ROUNDS:-3}    # one per life
readonly tail=120    # the lose screen shows

lines=()
frame=$settle
for ((round = 0; round < rounds; round++)); do
    lines+=("{\"frame\":$frame,\"key\":[$key_d,1,0,false]}")
    lines+=("{\"frame\":$((frame + jump)),\"key\":[$key_space,1,0,false]}")
    lines+=("{\"frame\":$((frame + jump + 10)),\"key\":[$key_space,0,0,false]}")
    frame=$((frame + hold))
    lines+=("{\"frame\":$frame,\"key\":[$key_d,0,0,false]}")
    frame=$((frame + rest))
done
frames=$((frame + tail))

{
    printf '{\n  "format": "Halvex replay",\n  "version": 1,\n'
    printf '  "start": "Level1",\n  "expect": "LoseScreen",\n'
    printf '  "step": 0.01666666753590107,\n  "seed": 1,\n  "frames": %d,\n' "$frames"
    printf '  "input": ['
    sep=$'\n    '
    for line in "${lines[@]}"; do
        printf '%s%s' "$sep" "$line"
        sep=$',\n    '
    done
    printf '\n  ]\n}\n'
} >"$out.tmp"
mv "$out.tmp" "$out"
echo "wrote $out ($frames frames)"
"$halvex" --replay "$out" --headless
