#!/usr/bin/env bash
# Writes a replay into Assets/Replays/ from a level's input script, then plays it headless to
# check that it still reaches its expected state.
# Usage: tools/replays/make-replay.sh SCRIPT [HALVEX]   (default build/dev/bin/Halvex)
#
# A script (tools/replays/*.input) holds one instruction a line; '#' starts a comment:
#   start STATE          the state the replay begins in
#   expect STATE         the state it must end in
#   frames N             how many frames of 1/60 s it runs
#   at FRAME             the frame the next instructions happen at (default 0)
#   wait N               moves that frame on by N
#   press KEY | release KEY
#   tap KEY N            press KEY now and release it N frames later (a short jump: SPACE 6)
#   taps KEY N EVERY END  tap KEY (held N frames) now and every EVERY frames before frame END
#   aim X Y              puts the cursor on the world point X Y: the player's shots fly towards it
# Keys: A D W S SPACE X Z MOUSE (the left button, the player's fire).
set -euo pipefail
cd "$(dirname "$0")/../.."
script=$1
halvex=$(realpath "${2:-build/dev/bin/Halvex}")
out=Assets/Replays/$(basename "$script" .input).json

code() {
    case $1 in
        A) echo 65 ;; D) echo 68 ;; W) echo 87 ;; S) echo 83 ;; SPACE) echo 32 ;;
        X) echo 88 ;; Z) echo 90 ;; MOUSE) echo 348 ;;
        *) echo "$script: unknown key $1" >&2; exit 2 ;;
    esac
}

start="" expect="" frames=0 frame=0
events=()  # "frame order json", sorted below; order keeps a frame's inputs in script order
order=0
add() {
    events+=("$(printf '%08d %06d %s' "$1" "$order" "$2")")
    order=$((order + 1))
}
while read -r word a b || [[ -n $word ]]; do
    case $word in
        '' | '#'*) ;;
        start) start=$a ;;
        expect) expect=$a ;;
        frames) frames=$a ;;
        at) frame=$a ;;
        wait) frame=$((frame + a)) ;;
        press) add "$frame" "{\"frame\":$frame,\"key\":[$(code "$a"),1,0,false]}" ;;
        release) add "$frame" "{\"frame\":$frame,\"key\":[$(code "$a"),0,0,false]}" ;;
        tap)
            add "$frame" "{\"frame\":$frame,\"key\":[$(code "$a"),1,0,false]}"
            add $((frame + b)) "{\"frame\":$((frame + b)),\"key\":[$(code "$a"),0,0,false]}"
            ;;
        taps)
            read -r n every end <<<"$b"
            for ((f = frame; f < end; f += every)); do
                add "$f" "{\"frame\":$f,\"key\":[$(code "$a"),1,0,false]}"
                add $((f + n)) "{\"frame\":$((f + n)),\"key\":[$(code "$a"),0,0,false]}"
            done
            ;;
        aim) add "$frame" "{\"frame\":$frame,\"cursor\":{\"offsets\":[[\"\",$a,$b]],\"position\":[0.0,0.0]}}" ;;
        *) echo "$script: unknown instruction $word" >&2; exit 2 ;;
    esac
done < <(sed 's/#.*//' "$script")
[[ -n $start && -n $expect && $frames -gt 0 ]] || { echo "$script: needs start, expect and frames" >&2; exit 2; }

{
    printf '{\n  "format": "Halvex replay",\n  "version": 1,\n'
    printf '  "start": "%s",\n  "expect": "%s",\n' "$start" "$expect"
    printf '  "step": 0.01666666753590107,\n  "seed": 1,\n  "frames": %d,\n' "$frames"
    printf '  "input": ['
    sep=$'\n    '
    while read -r _ _ line; do
        [[ -n $line ]] || continue
        printf '%s%s' "$sep" "$line"
        sep=$',\n    '
    done < <(printf '%s\n' "${events[@]}" | sort)
    printf '\n  ]\n}\n'
} >"$out.tmp"
mv "$out.tmp" "$out"
echo "wrote $out ($frames frames)"
"$halvex" --replay "$out" --headless
