#!/usr/bin/env bash
# Level1's entrance: the door the player stands in opens as the level starts (its doorway shows
# the warm light behind it) and closes again a moment later. Checked from screenshots by how
# many pixels of the doorway's light are in the picture.
source "$(dirname "$0")/lib.sh"


# Pixels of the doorway's light (rgb 255, 200..231, 120; Assets/Textures/Goals/Door.png) in
# the left third of the window, where the entrance door stands.
door_light() { e2e_colour_count "$((WW / 3))x$WH+$WX+$WY" 255 215 120 6; }

e2e_start
e2e_wait_window 30
e2e_open_level1

# The door opens within the first second of the level and stays open for about 1.2 s.
most=0
for _ in $(seq 1 60); do
    e2e_screenshot
    light=$(door_light)
    [ "$light" -gt "$most" ] && most=$light
    [ "$most" -gt 400 ] && break
    sleep 0.1
done
e2e_log "most doorway light seen: $most pixels"
[ "$most" -gt 400 ] || e2e_fail "the entrance door never opened ($most light pixels)"

# Then it closes behind the player.
closed() { [ "$(door_light)" -lt 40 ]; }
E2E_WAIT=10 e2e_wait_for closed || e2e_fail "the entrance door did not close ($(door_light) light pixels)"
e2e_log "the entrance door closed again"

e2e_running || e2e_fail "the game ended during play"
e2e_close_and_wait 20
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS, expected 0"
