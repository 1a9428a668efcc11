#!/usr/bin/env bash
# Runs every shipped replay (Assets/Replays/*.json) headless and fails unless every run reaches
# the replay's expected state and all runs of one replay give the same hash.
#   tools/check-replays.sh [HALVEX...]          each replay once with each Halvex given (default
#                                               build/dev/bin/Halvex), the hashes compared across them
#   tools/check-replays.sh --hashes FILE HALVEX  each replay once; "replay hash" lines into FILE
#   tools/check-replays.sh --compare FILE...     the hash files of several builds must agree
# The test command plays the replays once per build (the replays.shipped test writes the hash
# file) and compares the release and sanitizer builds' files: two builds from different
# compilers at different optimisation levels give one hash only if a replay repeats itself.
# Run from anywhere; it reads this tree's Assets.
set -uo pipefail
cd "$(dirname "$0")/.."

compare() {
    local failed=0 first=$1 file
    shift
    [ -s "$first" ] || { echo "replays: FAIL: no hashes in $first" >&2; return 1; }
    for file in "$@"; do
        [ -s "$file" ] || { echo "replays: FAIL: no hashes in $file" >&2; failed=1; continue; }
        if ! diff -u "$first" "$file" >&2; then
            echo "replays: FAIL: $file and $first give different hashes (above)" >&2
            failed=1
        fi
    done
    [ $failed -eq 0 ] && echo "replays: $(wc -l <"$first") replay(s), $(($# + 1)) build(s), equal hashes"
    return $failed
}

hash_file=""
case "${1:-}" in
    --compare)
        shift
        [ $# -ge 2 ] || { echo "usage: $0 --compare FILE FILE..." >&2; exit 2; }
        compare "$@"
        exit
        ;;
    --hashes)
        [ $# -eq 3 ] || { echo "usage: $0 --hashes FILE HALVEX" >&2; exit 2; }
        hash_file=$(realpath "$2")
        shift 2
        ;;
esac
[ $# -gt 0 ] || set -- build/dev/bin/Halvex
programs=()
for program in "$@"; do programs+=("$(realpath "$program")"); done

shopt -s nullglob
replays=(Assets/Replays/*.json)
if [ ${#replays[@]} -eq 0 ]; then
    echo "replays: none in Assets/Replays" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for n in "${!programs[@]}"; do
    program=${programs[$n]}
    : >"$work/$n"
    for replay in "${replays[@]}"; do
        output=$("$program" --replay "$replay" --headless 2>/dev/null)
        status=$?
        line=$(printf '%s\n' "$output" | grep -o 'replay: frames .*' | tail -n 1)
        echo "$replay ($program): ${line:-no result line}"
        hash=$(printf '%s\n' "$line" | sed -n 's/.*, hash \([0-9a-f]*\),.*/\1/p')
        if [ $status -ne 0 ] || [[ "$line" != *", expected state reached" ]] || [ -z "$hash" ]; then
            echo "replays: FAIL: $replay did not reach its expected state (status $status)" >&2
            failed=1
            hash="failed"
        fi
        echo "$(basename "$replay") $hash" >>"$work/$n"
    done
done
if [ -n "$hash_file" ]; then
    cp "$work/0" "$hash_file"
    [ $failed -eq 0 ] && echo "replays: ${#replays[@]} replay(s) reached their states; hashes in $hash_file"
    exit $failed
fi
[ ${#programs[@]} -lt 2 ] || compare "$work"/* || failed=1
exit $failed
