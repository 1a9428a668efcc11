#!/usr/bin/env bash
# Builds the loaders' libFuzzer targets (preset "fuzz": clang 14, ASan + UBSan) and runs each
# for a few seconds, seeded from the shipped content and the kept regression inputs, with a
# dictionary of the formats' keys. Usage: tools/fuzz/run.sh [seconds per target, default 5]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-5}
cmake --preset fuzz >/dev/null
targets=(fuzz_bank fuzz_tilemap fuzz_tileset fuzz_component fuzz_entity fuzz_scene fuzz_index)
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]}"

corpora=build/fuzz/corpus
seed() {  # target, files...
    local dir=$corpora/$1
    shift
    mkdir -p "$dir"
    cp "$@" "$dir"/
}
seed fuzz_bank Assets/Banks/*.bank
seed fuzz_tilemap Assets/Data/Tiled/Level1.json
seed fuzz_tileset Assets/Data/Tiled/Level1Tiles.json
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
for target in "${targets[@]}"; do
    echo "== $target"
    mkdir -p "build/fuzz/artifacts/$target"
    build/fuzz/bin/$target -max_total_time="$seconds" -dict=tools/fuzz/halvex.dict \
        -artifact_prefix="build/fuzz/artifacts/$target/" -print_final_stats=0 \
        "$corpora/$target" "tools/fuzz/regressions/$target" >"build/fuzz/$target.log" 2>&1 ||
        true
    tail -n 2 "build/fuzz/$target.log"
    # libFuzzer stops at the first finding and leaves its input as an artifact.
    if compgen -G "build/fuzz/artifacts/$target/*" >/dev/null; then
        echo "fuzz: $target found a fault; input kept in build/fuzz/artifacts/$target" >&2
        exit 1
    fi
done
echo "== fuzzing found nothing"
