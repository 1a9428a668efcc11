#!/usr/bin/env bash
# A walker in Level1 dies to the player's shots: the player aims at it with the mouse and shoots
# until no walker is left in the picture, and it stays gone. Checked from screenshots by the
# walker's purple (rgb 124 50 122, Assets/Textures/Enemies/Walker.png).
#
# Runs a copy of the assets whose first walker patrols x 9 to 11.5 instead of 23.5 to 26.5: in
# the picture from the start and out of the player's reach, so the test needs no walking, which
# a loaded machine makes too uneven to stop at the right place.
source "$(dirname "$0")/lib.sh"

e2e_copy_assets
python3 - "$ROOT/Assets/Data/Scene/Level1.json" <<'PY'
import json, sys
scene = json.load(open(sys.argv[1]))
walker = scene["Enemy Walker 1"]["EnemyWalker"]
walker["Transform"]["Translation"][0] = 10.0
walker["Enemy Behavior"]["Patrol Left End"] = 9.0
walker["Enemy Behavior"]["Patrol Right End"] = 11.5
json.dump(scene, open(sys.argv[1], "w"), indent=2)
PY

# Only right of the player, where the walker is: the player's muzzle flash has a purple rim.
walker_centre() { e2e_colour_centre 124 50 122 5 "${WALKER_FROM:-0}"; }
# E2E_SHOTS=FOLDER keeps the screenshots the test judged.
shots() { [ -n "${E2E_SHOTS:-}" ] && e2e_keep_shot "$E2E_SHOTS/$1.png"; return 0; }

e2e_start "$ROOT"
e2e_wait_window 30
e2e_open_level1

# The level has begun once the player stands still (the drop into the level is over) with the
# walker in the picture to its right.
E2E_WAIT=60 e2e_wait_for e2e_player_settled || e2e_fail "the player never came to rest in Level1"
WALKER_FROM=$(awk -v x="$SX" 'BEGIN { print x + 0.06 }')
walker_shown() {
    read -r KX KY KN < <(walker_centre)
    awk -v x="$KX" -v n="$KN" 'BEGIN { exit !(n > 300 && x < 0.9) }'
}
E2E_WAIT=30 e2e_wait_for walker_shown || e2e_fail "no walker in the picture ($KN purple pixels at $KX $KY)"
shots seen
e2e_log "player at $SX $SY, walker at $KX $KY ($KN pixels)"

# Aim where the last screenshot shows the walker and fire, until three screenshots in a row
# show no walker.
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
    shots "shot$shot"
    # The game reads the cursor once a frame, after the frame's buttons: the cursor goes first.
    e2e_focus
    xdotool mousemove $(e2e_picture_point "$KX" "$KY")
    sleep 0.1
    xdotool click 1
    e2e_running || e2e_fail "the game ended during play"
done
shots after
[ "$gone_for" -ge 3 ] || e2e_fail "the walker is still in the picture after $shot shots ($KN pixels at $KX $KY)"
e2e_log "walker gone after $shot screenshots"

# Its whole patrol is in the picture, so it is dead rather than out of view; and it stays gone
# for longer than a patrol takes (2.5 units at 1.5 units/s and a 0.8 s pause).
deadline=$((SECONDS + 8))
while [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.5
    e2e_screenshot
    read -r KX KY KN < <(walker_centre)
    [ "$KN" -lt 10 ] || e2e_fail "the walker came back ($KN pixels at $KX $KY)"
done
read -r SX2 SY2 SN2 < <(e2e_suit_centre)
[ "$SN2" -gt 50 ] || e2e_fail "the player is gone from the picture"

e2e_running || e2e_fail "the game ended during play"
e2e_close_and_wait 20
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS, expected 0"
e2e_log "walker shot"
