#!/usr/bin/env bash
# Fails when a library includes a header of a layer it may not see. The layers, lowest first:
#   engine                          nothing of ours
#   physics2d                       engine
#   tiled, particle, audio          engine, physics2d
#   services/graphics, animation    engine
#   services/ui                     engine and audio's messages (audio/MessageAudio.h)
#   game                            everything
# The same order is declared by the libraries' links in CMake. Headers directly under services/
# would belong to no library, so there must be none.
set -euo pipefail
cd "$(dirname "$0")/.."

# The include prefixes a library's folder may use, its own included.
allowed() {
    case "$1" in
        engine) echo "engine/" ;;
        physics2d) echo "engine/ physics2d/" ;;
        tiled | particle | audio) echo "engine/ physics2d/ $1/" ;;
        services/graphics | services/animation) echo "engine/ $1/" ;;
        services/ui) echo "engine/ services/ui/ audio/MessageAudio.h" ;;
    esac
}

failed=0
for layer in engine physics2d tiled particle audio services/graphics services/animation services/ui; do
    own=$(allowed "$layer")
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include "([^"]*)".*/\1/' <<<"${line#*:}")
        ok=0
        for prefix in $own; do
            [[ "$target" == "$prefix"* ]] && ok=1
        done
        if [ "$ok" = 0 ]; then
            echo "layer violation: $file includes \"$target\" ($layer may include only: $own)"
            failed=1
        fi
    done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' \
        --include='*.cpp' "$layer" | sed -E 's/^([^:]*):[[:space:]]*/\1:/' || true)
done

for header in services/*.h services/*.cpp; do
    [ -e "$header" ] || continue
    echo "layer violation: $header belongs to no library; move it into services/<library>/"
    failed=1
done

[ "$failed" = 0 ] && echo "layers: every include stays in its layer"
exit "$failed"
