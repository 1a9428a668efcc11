#!/usr/bin/env bash
# Regenerates the shipped art, sounds and font sheet with the generators of a build (configured
# with -DHALVEX_ART=ON) in a copy of Assets/, and fails if a generator fails, writes nothing, or
# any file comes out different from the shipped one, or new.
# Usage: tools/check-art.sh BIN   (BIN: the build's program folder, e.g. build/release/bin)
set -uo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 1 ] || { echo "usage: $0 BIN" >&2; exit 2; }
bin=$(realpath "$1")
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
root=$PWD
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r Assets "$work/Assets"
cd "$work"

failed=0
# Each generator with its arguments; they write under ./Assets.
generators=(
    "texgen Assets/Textures"
    "levelart"
    "uiart"
    "goalart"
    "hudart"
    "enemyart"
    "soundgen Assets/Banks/Sounds"
    "fontgen $font Assets/Textures/Fonts DejaVuSans"
)
for generator in "${generators[@]}"; do
    read -r program args <<<"$generator"
    touch "$work/mark"
    sleep 0.01
    # shellcheck disable=SC2086
    if ! "$bin/$program" $args >"$work/$program.log" 2>&1; then
        echo "art: FAIL: $program failed:" >&2
        cat "$work/$program.log" >&2
        failed=1
        continue
    fi
    written=$(find Assets -type f -newer "$work/mark" | wc -l)
    if [ "$written" -eq 0 ]; then
        echo "art: FAIL: $program wrote nothing under Assets" >&2
        failed=1
    fi
    echo "art: $program wrote $written file(s)"
done
rm -f "$work/mark" "$work"/*.log
if ! diff -r --brief "$root/Assets" "$work/Assets" >&2; then
    echo "art: FAIL: the generated files above differ from the shipped ones; run the generator" \
        "and commit its output, or fix the generator" >&2
    failed=1
fi
[ $failed -eq 0 ] && echo "art: every generated file equals the shipped one"
exit $failed
