#!/usr/bin/env bash
# Shoot a walker in Level1 until it dies: from the main menu into the level, the player runs to
# the knee-high step and hops onto or past it; the first walker (purple shell, patrolling by the
# first pit) is then in view. Holding the mouse button on it fires until it is hit; after its
# short death it is gone from the picture. Checked from screenshots by the walker's shell colour.
source "$(dirname "$0")/lib.sh"

ui_point() { awk -v x="$1" -v y="$2" 'BEGIN { printf "%.4f %.4f\n", 0.5 + x / (160 / 9), 0.5 - y / 10 }'; }
menu_shown() { e2e_color_is $(ui_point 1.5 1.2) 219 143 51 20; }

# Centre of the walker's shell (rgb 122 48 120, Assets/Textures/Enemies/Walker.png) in the last
# screenshot, as screen coordinates "x y count"; count 0 when no walker is on screen.
shell_centre() {
    convert "$E2E_TMP/last.png" -fuzz 9% -fill white -opaque "rgb(122,48,120)" \
        -fill black +opaque white -depth 8 "$E2E_TMP/mask.pgm"
    python3 - "$E2E_TMP/mask.pgm" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
parts = data.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
pixels = parts[4][-w * h:]
sx = sy = n = 0
for i, v in enumerate(pixels):
    if v > 127:
        sx += i % w; sy += i // w; n += 1
print(f"{sx // max(n, 1)} {sy // max(n, 1)} {n}")
PY
}

e2e_start
e2e_wait_window 30
E2E_WAIT=90 e2e_wait_for menu_shown || e2e_fail "no main menu: $E2E_LAST_RGB"
e2e_focus
xdotool mousemove $(e2e_picture_point $(ui_point 0 1.2))
sleep 0.5
xdotool click 1
sleep 4

# Run into the step, then jump onto it (or just past it) and stop.
e2e_focus
xdotool keydown Right
sleep 1.5
xdotool keydown space
sleep 0.15
xdotool keyup space
sleep 0.5
xdotool keyup Right
sleep 1

walker_in_view() {
    read -r MX MY MN < <(shell_centre)
    [ "$MN" -gt 150 ]
}
E2E_WAIT=10 e2e_wait_for walker_in_view || e2e_fail "no walker in view ($MN shell pixels)"
e2e_log "walker at $MX $MY ($MN shell pixels)"

# Fire at it, following it as it patrols, until its shell is gone.
e2e_focus
xdotool mousemove "$MX" "$MY" mousedown 1
gone=0
for _ in $(seq 1 24); do
    sleep 0.25
    e2e_screenshot
    read -r MX MY MN < <(shell_centre)
    if [ "$MN" -lt 20 ]; then
        gone=1
        break
    fi
    xdotool mousemove "$MX" "$MY"
done
xdotool mouseup 1
[ "$gone" -eq 1 ] || e2e_fail "the walker survived six seconds of fire ($MN shell pixels)"

# It stays gone: destroyed, not merely flashing.
sleep 1.5
e2e_screenshot
read -r MX MY MN < <(shell_centre)
[ "$MN" -lt 20 ] || e2e_fail "the walker came back ($MN shell pixels)"
e2e_log "walker shot and gone"

e2e_running || e2e_fail "the game ended during play"
e2e_close_and_wait 20
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS, expected 0"
