#!/usr/bin/env bash
# Plants each kind of violation the compiler cannot see in a small tree of its own and requires
# tools/check_layers.sh (given as $1) to fail on it, naming the file; the clean tree must pass.
set -uo pipefail
script=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fresh_tree() {
    rm -rf "$work/tree"
    mkdir -p "$work/tree"/{engine,physics2d,tiled,particle,audio,game} \
        "$work/tree"/services/{graphics,ui,animation}
    cd "$work/tree"
    printf '#pragma once\n#include <vector>\n' >engine/Message.h
    printf '#include "engine/Message.h"\n#include <glm/vec3.hpp>\n' >physics2d/Body.h
    printf '#include "Body.h"\n#include "physics2d/Body.h"\n' >physics2d/Body.cpp
    printf '#include "audio/MessageAudio.h"\n#include "services/ui/Font.h"\n' >services/ui/Font.cpp
    printf '#pragma once\n' >audio/MessageAudio.h
    printf 'add_library(x)\n' >services/CMakeLists.txt
}

expect() {  # expect pass|fail NAME [FILE the report must name]
    local want=$1 name=$2 file=${3:-}
    local output status
    output=$(bash "$script" "$work/tree" 2>&1)
    status=$?
    if [ "$want" = pass ] && [ "$status" -ne 0 ]; then
        echo "FAIL: $name: the check failed on a clean tree:"; echo "$output"; failures=$((failures + 1))
    elif [ "$want" = fail ] && [ "$status" -eq 0 ]; then
        echo "FAIL: $name: the check passed"; failures=$((failures + 1))
    elif [ -n "$file" ] && ! grep -qF "$file" <<<"$output"; then
        echo "FAIL: $name: the report does not name $file:"; echo "$output"; failures=$((failures + 1))
    else
        echo "ok: $name"
    fi
}

fresh_tree
expect pass "a clean tree"

fresh_tree
printf '#include <game/Roster.h>\n' >engine/Bad.h
expect fail "an angle-bracket include of the game in the engine" engine/Bad.h

fresh_tree
printf '#include "engine/../game/hud/SystemHUDTimer.h"\n' >physics2d/Bad.cpp
expect fail "a path through .. in physics" physics2d/Bad.cpp

fresh_tree
printf '#include "../game/Roster.h"\n' >tiled/Bad.cpp
expect fail "a relative path up out of the tile maps" tiled/Bad.cpp

fresh_tree
mkdir services/network
printf '#pragma once\n' >services/network/Socket.h
expect fail "a folder under services/ that no layer lists" services/network

fresh_tree
printf '#include "game/Roster.h"\n' >particle/Curve.inl
expect fail "an .inl file that includes the game" particle/Curve.inl

fresh_tree
printf '#include "audio/ManagerAudio.h"\n' >services/ui/Bad.h
expect fail "the UI naming more of audio than its messages" services/ui/Bad.h

fresh_tree
printf '#pragma once\n' >services/Stray.h
expect fail "a header directly under services/" services/Stray.h

[ "$failures" = 0 ] || { echo "$failures case(s) failed"; exit 1; }
