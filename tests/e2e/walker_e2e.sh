#!/usr/bin/env bash
# Level1's first walker (patrolling x 23.5 to 26.5) dies to the player's shots: the player walks
# right in short steps until the walker is in the picture, aims at it with the mouse and shoots
# until no walker is left in the picture, and it stays gone. Checked from screenshots by the
# walker's purple (rgb 124 50 122, Assets/Textures/Enemies/Walker.png).
source "$(dirname "$0")/lib.sh"

suit_centre() { e2e_colour_centre 30 150 150; }
# Only right of the player, where the walker is: the player's muzzle flash has a purple rim.
walker_centre() { e2e_colour_centre 124 50 122 5 "${WALKER_FROM:-0}"; }
# E2E_SHOTS=FOLDER keeps the screenshots the test judged, and logs each step.
shots() { [ -n "${E2E_SHOTS:-}" ] && cp "$E2E_TMP/last.png" "$E2E_SHOTS/$1.png"; return 0; }

e2e_start
e2e_wait_window 30
e2e_open_level1
player_shown() { read -r SX SY SN < <(suit_centre); [ "$SN" -gt 50 ]; }
E2E_WAIT=60 e2e_wait_for player_shown || e2e_fail "no player in Level1"

# Short steps right: held for a fixed wall time, a step moves the player a bounded way however
# slowly the machine draws. A step that moved nothing (neither the player in the picture nor,
# once the camera follows, the ground under it) met the block at x 12..15, and the next one is a
# full jump. Hopping only then keeps the player off the platforms above. The player stops once the
# walker is well inside the picture (25 units wide): with the camera holding the player in the
# middle, that is 8 units short of the walker, out of reach of its 3-unit patrol. (The walker is on the ground,
# in the picture's lower half; purple elsewhere is not it.)
walker_in_view() {
    read -r KX KY KN < <(walker_centre)
    awk -v x="$KX" -v y="$KY" -v n="$KN" 'BEGIN { exit !(n > 60 && x < 0.85 && y > 0.5 && y < 0.97) }'
}
# Pixels that differ between the ground bands (picture y 0.75 to 0.95) of two screenshots.
ground_changed() {
    local x0 y0 x1 y1
    read -r x0 y0 < <(e2e_picture_point 0 0.75)
    read -r x1 y1 < <(e2e_picture_point 1 0.95)
    compare -metric AE -fuzz 3% "$1" "$2" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" null: 2>&1 |
        awk '{ printf "%d\n", $1 }'
}
seen=1 hold=0.12 hop=""
e2e_screenshot
cp "$E2E_TMP/last.png" "$E2E_TMP/before.png"
read -r SXB SYB SNB < <(suit_centre)
for step in $(seq 1 60); do
    e2e_focus
    xdotool keydown Right $hop
    sleep $hold
    xdotool keyup Right ${hop/keydown/keyup}
    sleep 0.3
    e2e_screenshot
    shots "step$step"
    if walker_in_view; then seen=0; break; fi
    e2e_running || e2e_fail "the game ended during play"
    read -r SX SY SN < <(suit_centre)
    moved=$(ground_changed "$E2E_TMP/before.png" "$E2E_TMP/last.png")
    hold=0.12 hop=""
    awk -v a="$SXB" -v b="$SX" -v m="$moved" 'BEGIN { d = a - b; exit !(d * d < 0.00003 && m < 500) }' &&
        hold=0.5 hop="keydown space"
    [ -n "${E2E_SHOTS:-}" ] && e2e_log "step $step: walker $KX $KY $KN, suit $SX $SY $SN, ground $moved, ${hop:-walk}"
    cp "$E2E_TMP/last.png" "$E2E_TMP/before.png"
    SXB=$SX
done
[ "$seen" -eq 0 ] || e2e_fail "no walker came into view after $step steps"
read -r SX SY SN < <(suit_centre)
e2e_log "walker in view after $step steps at $KX $KY ($KN pixels)"
# Let the last hop land before aiming.
SXP=-1 SYP=-1
player_settled() {
    local px=$SXP py=$SYP
    read -r SX SY SN < <(suit_centre)
    SXP=$SX SYP=$SY
    awk -v a="$px" -v b="$SX" -v c="$py" -v d="$SY" -v n="$SN" \
        'BEGIN { dx = a - b; dy = c - d; exit !(n > 50 && dx * dx + dy * dy < 0.0001) }'
}
E2E_WAIT=30 e2e_wait_for player_settled || e2e_fail "the player never came to rest"
shots seen
e2e_log "player at $SX $SY"
WALKER_FROM=$(awk -v x="$SX" 'BEGIN { print x + 0.06 }')

# Aim at the walker where the last screenshot shows it and fire; a bullet lives 1.2 s and the
# walker takes several hits, so keep at it until the purple is gone.
gone_for=0
for shot in $(seq 1 80); do
    e2e_screenshot
    read -r KX KY KN < <(walker_centre)
    if [ "$KN" -lt 10 ]; then
        gone_for=$((gone_for + 1))
        [ "$gone_for" -ge 3 ] && break
        sleep 0.3
        continue
    fi
    gone_for=0
    LASTX=$KX
    [ -n "${E2E_SHOTS:-}" ] && { shots "shot$shot"; e2e_log "shot $shot: walker $KX $KY $KN"; }
    # The game reads the cursor once a frame, after the frame's buttons: the cursor goes first.
    e2e_focus
    xdotool mousemove $(e2e_picture_point "$KX" "$KY")
    sleep 0.1
    xdotool click 1
    e2e_running || e2e_fail "the game ended during play"
done
shots after
[ "$gone_for" -ge 3 ] || e2e_fail "the walker is still in the picture after $shot shots ($KN pixels at $KX $KY)"
e2e_log "walker gone after $shot screenshots, last seen at $LASTX"

# It stays gone for twice as long as a walker out of view at the end of its patrol could be
# (3 units there and back at 1.5 units/s and a 0.8 s pause: under 5 s), so it did not just walk
# out of the picture; and the player still stands where it stood.
deadline=$((SECONDS + 10))
while [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.5
    e2e_screenshot
    read -r KX KY KN < <(walker_centre)
    [ "$KN" -lt 10 ] || e2e_fail "the walker came back ($KN pixels at $KX $KY)"
done
read -r SX2 SY2 SN2 < <(suit_centre)
[ "$SN2" -gt 50 ] || e2e_fail "the player is gone from the picture"
awk -v a="$SX" -v b="$SX2" 'BEGIN { d = a - b; exit !(d * d < 0.01) }' ||
    e2e_fail "the player moved from $SX to $SX2 while shooting (was it sent back to the start?)"

e2e_close_and_wait 20
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS, expected 0"
e2e_log "walker shot"
