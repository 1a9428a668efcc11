#!/usr/bin/env bash
# Fails when a library includes a header of a layer it may not see. The layers, lowest first:
#   engine                          nothing of ours
#   physics2d                       engine
#   tiled, particle, audio          engine, physics2d
#   services/graphics, animation    engine
#   services/ui                     engine and audio's messages (audio/MessageAudio.h)
#   game                            everything
# The compiler already refuses most wrong includes: each library builds against an include
# folder that holds only itself and the libraries it links (cmake/Layers.cmake). This check
# covers what the compiler cannot see: a path through "..", which escapes any include folder;
# audio's other headers, which the UI links but may not name; a folder under services/ that no
# layer lists; and headers directly under services/, which would belong to no library.
#
# Usage: tools/check_layers.sh [ROOT]   (ROOT defaults to the repository the script is in)
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

# The include prefixes a library's folder may use, its own included.
allowed() {
    case "$1" in
        engine) echo "engine/" ;;
        physics2d) echo "engine/ physics2d/" ;;
        tiled | particle | audio) echo "engine/ physics2d/ $1/" ;;
        services/graphics | services/animation) echo "engine/ $1/" ;;
        services/ui) echo "engine/ services/ui/ audio/MessageAudio.h" ;;
        *) return 1 ;;
    esac
}

# Our top-level folders: an include that starts with one of them is ours, in either form.
ours='^(engine|physics2d|tiled|particle|audio|services|game|tests|tools|bench)/'

failed=0
layers=(engine physics2d tiled particle audio)
for dir in services/*/; do
    layers+=("${dir%/}")
done

for layer in "${layers[@]}"; do
    if ! own=$(allowed "$layer"); then
        echo "layer violation: $layer is a folder no layer lists; add it to tools/check_layers.sh and cmake/Layers.cmake"
        failed=1
        continue
    fi
    # Every file, whatever its extension: an .inl or .ipp is included code as much as a header.
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/^[^:]*:[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*)[">].*/\1/' <<<"$line")
        if [[ "/$target/" == *"/../"* ]]; then
            echo "layer violation: $file includes \"$target\" (a path through .. escapes the layers)"
            failed=1
            continue
        fi
        # A quoted include of a bare name is a header of the same folder; <...> without one of
        # our folders is a system or package header.
        [[ "$target" =~ $ours ]] || continue
        ok=0
        for prefix in $own; do
            [[ "$target" == "$prefix"* ]] && ok=1
        done
        if [ "$ok" = 0 ]; then
            echo "layer violation: $file includes \"$target\" ($layer may include only: $own)"
            failed=1
        fi
    done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$layer" || true)
done

for header in services/*; do
    [ -f "$header" ] || continue
    [ "$(basename "$header")" = CMakeLists.txt ] && continue
    echo "layer violation: $header belongs to no library; move it into services/<library>/"
    failed=1
done

[ "$failed" = 0 ] && echo "layers: every include stays in its layer"
exit "$failed"
