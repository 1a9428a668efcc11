#!/usr/bin/env bash
# Builds the libFuzzer targets over every input a user or designer hands the program (clang 14,
# ASan + UBSan: preset "fuzz", optimised, or "asan", the test command's sanitizer build) and
# runs each for a few seconds, seeded from the shipped content, the kept seeds and regression
# inputs, with a dictionary of the formats' keys.
# Usage: tools/fuzz/run.sh [seconds per target, default 5] [preset, default fuzz] [target...]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-5}
preset=${2:-fuzz}
shift $(($# < 2 ? $# : 2))
build=build/$preset
all=(fuzz_bank fuzz_tilemap fuzz_tileset fuzz_component fuzz_entity fuzz_scene fuzz_index
    fuzz_animation fuzz_ui fuzz_particle fuzz_font fuzz_replay fuzz_settings fuzz_validate)
if [ $# -eq 0 ]; then targets=("${all[@]}"); else targets=("$@"); fi

# Every content copy the targets make goes below one folder, removed however the run ends.
work=$(mktemp -d /tmp/halvex-fuzz-XXXXXX)
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
export HALVEX_FUZZ_TMP=$work

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target "${targets[@]}"

corpora=$build/corpus
seed() {  # target, files...
    local dir=$corpora/$1
    shift
    mkdir -p "$dir"
    cp "$@" "$dir"/
}
seed fuzz_bank Assets/Banks/*.bank
seed fuzz_tilemap Assets/Data/Tiled/Level?.json
seed fuzz_tileset Assets/Data/Tiled/*Tiles.json
seed fuzz_entity Assets/Data/Entity/*.json tools/fuzz/seeds/fuzz_entity/*
seed fuzz_scene Assets/Data/Scene/*.json
seed fuzz_index Assets/Data/Index.json
seed fuzz_animation $(grep -l '"Animation"' Assets/Data/Entity/*.json)
seed fuzz_ui $(ls Assets/Data/Entity/{UI,HUD}*.json Assets/Data/Entity/*Menu.json | sort -u)
seed fuzz_particle Assets/Data/Entity/Fx*.json $(grep -l '"Particle Emitter"' Assets/Data/Entity/*.json) \
    tools/fuzz/seeds/fuzz_particle/*
seed fuzz_font Assets/Textures/Fonts/*.json tools/fuzz/seeds/fuzz_font/*
seed fuzz_replay Assets/Replays/*.json
seed fuzz_settings tools/fuzz/seeds/fuzz_settings/*
# Components: every member of the entity files, as its name, a line break and its JSON; the
# validator: every data file and font, as its path below Assets/, a line break and its text.
mkdir -p "$corpora/fuzz_component" "$corpora/fuzz_validate"
python3 - "$corpora" "$seconds" <<'PY'
import glob, json, sys
out, seconds = sys.argv[1], int(sys.argv[2])
entities = sorted(glob.glob("Assets/Data/Entity/*.json")) + sorted(glob.glob("tools/fuzz/seeds/fuzz_*/*.json"))
for n, path in enumerate(entities):
    try:
        members = json.load(open(path))
    except ValueError:
        continue
    if not isinstance(members, dict):
        continue
    for m, (key, value) in enumerate(members.items()):
        with open(f"{out}/fuzz_component/{n}-{m}", "w") as f:
            f.write(key + "\n" + json.dumps(value))
files = sorted(glob.glob("Assets/Data/**/*.json", recursive=True) + glob.glob("Assets/Textures/Fonts/*.json"))
# Each validator input is a whole content folder read completely, about a second in the
# sanitizer build, and libFuzzer runs every seed before it starts: a short run seeds it with
# the first file of each folder and every tenth entity, a long run with everything.
if seconds < 60:
    folders = {}
    for path in files:
        folders.setdefault(path.rsplit("/", 1)[0], []).append(path)
    files = sorted({group[0] for group in folders.values()} |
                   set(folders["Assets/Data/Entity"][::10]))
for n, path in enumerate(files):
    with open(f"{out}/fuzz_validate/{n}", "w") as f:
        f.write(path[len("Assets/"):] + "\n" + open(path).read())
PY

source tools/sanitizers.sh
# A fuzz target is one long run: its leak report would come only at its end, for every input.
export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
# The targets work in a private copy of the content and change into it, so every path they
# are given must be absolute.
root=$PWD

# The component target must catch a reader that fails with anything but a data error: a
# planted one must fail it.
if [[ " ${targets[*]} " == *" fuzz_component "* ]]; then
    planted=$work/planted
    printf 'Planted Fault\n{}' >"$planted"
    if HALVEX_FUZZ_PLANT=1 "$root/$build/bin/fuzz_component" "$planted" >"$build/planted.log" 2>&1 ||
        ! grep -q "no data error" "$build/planted.log"; then
        echo "fuzz: fuzz_component did not catch the planted fault; see $build/planted.log" >&2
        exit 1
    fi
fi

# One target's run; its report goes to $build/TARGET.report, its status is its verdict.
fuzz_one() {
    local target=$1 status=0
    local artifacts=$root/$build/artifacts/$target
    mkdir -p "$artifacts" "$root/tools/fuzz/regressions/$target"
    # A hang is a finding too: no single input may take 2 minutes (the timer is wall-clock time,
    # and one validator run takes half a minute in the unoptimised build on a busy machine).
    "$root/$build/bin/$target" -max_total_time="$seconds" -timeout=120 \
        -dict="$root/tools/fuzz/halvex.dict" -artifact_prefix="$artifacts/" \
        -print_final_stats=1 "$root/$corpora/$target" "$root/tools/fuzz/regressions/$target" \
        >"$build/$target.log" 2>&1 || status=$?
    {
        echo "== $target"
        grep -E '^stat::number_of_executed_units' "$build/$target.log" || tail -n 2 "$build/$target.log"
        # libFuzzer stops at the first finding and leaves its input as an artifact; a slow unit
        # (over 10 s of wall-clock time, common on a busy machine) is kept too, but is no finding.
        if compgen -G "$artifacts/[!s]*" >/dev/null; then
            echo "fuzz: $target found a fault (status $status); input kept in $artifacts"
            status=1
        elif [ "$status" -ne 0 ]; then
            echo "fuzz: $target did not run (status $status); see $build/$target.log"
        fi
    } >"$build/$target.report"
    return "$status"
}

# Each target is one process on one core: as many run at once as there are cores.
failed=0
running=0
for target in "${targets[@]}"; do
    if [ "$running" -ge "$(nproc)" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    fuzz_one "$target" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
for target in "${targets[@]}"; do cat "$build/$target.report"; done
if [ "$failed" -ne 0 ]; then
    echo "fuzz: a target failed; its report above names it" >&2
    exit 1
fi
echo "== fuzzing found nothing"
