#!/usr/bin/env bash
# Builds the loaders' libFuzzer targets (clang 14, ASan + UBSan: preset "fuzz", optimised, or
# "asan", the test command's sanitizer build) and runs each for a few seconds, seeded from the
# shipped content and the kept regression inputs, with a dictionary of the formats' keys.
# Usage: tools/fuzz/run.sh [seconds per target, default 5] [preset, default fuzz]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-5}
preset=${2:-fuzz}
build=build/$preset
cmake --preset "$preset" >/dev/null
targets=(fuzz_bank fuzz_tilemap fuzz_tileset fuzz_component fuzz_entity fuzz_scene fuzz_index)
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
seed fuzz_entity Assets/Data/Entity/*.json
seed fuzz_scene Assets/Data/Scene/*.json
seed fuzz_index Assets/Data/Index.json
# Components: every member of the entity files, as its name, a line break and its JSON.
mkdir -p "$corpora/fuzz_component"
python3 - "$corpora/fuzz_component" <<'PY'
import glob, json, sys
out = sys.argv[1]
for n, path in enumerate(sorted(glob.glob("Assets/Data/Entity/*.json"))):
    for m, (key, value) in enumerate(json.load(open(path)).items()):
        with open(f"{out}/{n}-{m}", "w") as f:
            f.write(key + "\n" + json.dumps(value))
PY

export ASAN_OPTIONS="detect_leaks=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The targets work in a private copy of the content and change into it, so every path they
# are given must be absolute.
root=$PWD
for target in "${targets[@]}"; do
    echo "== $target"
    artifacts=$root/$build/artifacts/$target
    mkdir -p "$artifacts" "$root/tools/fuzz/regressions/$target"
    status=0
    "$root/$build/bin/$target" -max_total_time="$seconds" -dict="$root/tools/fuzz/halvex.dict" \
        -artifact_prefix="$artifacts/" -print_final_stats=0 \
        "$root/$corpora/$target" "$root/tools/fuzz/regressions/$target" \
        >"$build/$target.log" 2>&1 || status=$?
    tail -n 2 "$build/$target.log"
    # libFuzzer stops at the first finding and leaves its input as an artifact.
    if compgen -G "$artifacts/*" >/dev/null; then
        echo "fuzz: $target found a fault; input kept in $artifacts" >&2
        exit 1
    fi
    if [ "$status" -ne 0 ]; then
        echo "fuzz: $target did not run (status $status); see $build/$target.log" >&2
        exit 1
    fi
done
echo "== fuzzing found nothing"
