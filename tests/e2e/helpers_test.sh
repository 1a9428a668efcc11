#!/usr/bin/env bash
# The e2e helpers must fail their test when the screenshot they read cannot be read, however a
# test calls them: directly, as a condition, inside $(...) or through <(...). Each case runs in a
# script of its own that sources lib.sh, plants a screenshot and calls one helper; with a
# readable (black) screenshot the same calls must succeed, so the failures come from the
# planted file and not from a broken set-up. Needs SHOTPROBE (set by tests/e2e/CMakeLists.txt);
# no display, no game.
set -u
lib="$(cd "$(dirname "$0")" && pwd)/lib.sh"
[ -x "${SHOTPROBE:-}" ] || { echo "helpers: FAIL: SHOTPROBE is not set to a program" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{ printf 'P6\n64 36\n255\n'; head -c $((64 * 36 * 3)) /dev/zero; } >"$work/black.ppm"
printf 'P6\n64 36\n255\ncut short' >"$work/short.ppm"
echo 'not a picture' >"$work/garbage.ppm"

# Runs "$2" (shell code) after sourcing lib.sh with the screenshot $1 planted; prints the
# script's output and returns its status.
run_with() {
    bash -c '
        source "$1"
        WX=0 WY=0 WW=64 WH=36
        cp "$2" "$E2E_TMP/last.ppm"
        eval "$3"
        echo "went on"' helper "$lib" "$1" "$2" 2>&1
}

cases=(
    'e2e_pixel 3 3 >/dev/null'
    'rgb=$(e2e_pixel 3 3)'
    'e2e_screen_color_is 3 3 0 0 0'
    'if e2e_screen_color_is 3 3 0 0 0; then :; fi'
    'e2e_color_is 0.5 0.5 0 0 0 || true'
    'e2e_expect_color "black" 0.5 0.5 0 0 0'
    'if e2e_menu_shown; then :; fi'
    '_e2e_lit_only 1.2 0 || true'
    'e2e_colour_centre 0 0 0 >/dev/null'
    'read -r x y n < <(e2e_colour_centre 0 0 0); echo "$x $y $n"'
    'read -r x y n < <(e2e_suit_centre); echo "$x $y $n"'
    'n=$(e2e_colour_count 64x36+0+0 0 0 0 4)'
    'e2e_player_settled || true'
)
failed=0
for code in "${cases[@]}"; do
    for broken in short garbage; do
        output=$(run_with "$work/$broken.ppm" "$code")
        status=$?
        if [ $status -eq 0 ] || [[ "$output" == *"went on"* ]] || [[ "$output" != *"e2e: FAIL"* ]]; then
            echo "helpers: FAIL: with an unreadable ($broken) screenshot, '$code' did not fail" \
                "its test (status $status): $output" >&2
            failed=1
        fi
    done
    output=$(run_with "$work/black.ppm" "$code")
    status=$?
    if [ $status -ne 0 ] || [[ "$output" != *"went on"* ]]; then
        echo "helpers: FAIL: with a readable screenshot, '$code' failed (status $status): $output" >&2
        failed=1
    fi
done
[ $failed -eq 0 ] && echo "helpers: ${#cases[@]} helper calls fail on unreadable screenshots"
exit $failed
