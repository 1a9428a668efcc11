#!/usr/bin/env bash
# Level1's HUD: the clock (top right) and the lives row (top left) are drawn over the level,
# and the clock's face changes as the time runs down, into its warning look at the end. Runs a
# copy of the assets whose clock has a 6-second limit (a sixth a second, warning from 2 s).
source "$(dirname "$0")/lib.sh"

e2e_copy_assets
python3 - "$ROOT/Assets/Data/Entity/HUDClock.json" <<'PY'
import json, sys
clock = json.load(open(sys.argv[1]))
clock["HUD Timer"] = {"Time Limit": 6.0, "Time Warning": 2.0}
json.dump(clock, open(sys.argv[1], "w"))
PY


# Pixels of colour r g b (fuzz 6%) in the last screenshot inside the picture rectangle given
# by fractions fx0 fy0 fx1 fy1.
count_color() {
    local x0 y0 x1 y1
    read -r x0 y0 < <(e2e_picture_point "$1" "$2")
    read -r x1 y1 < <(e2e_picture_point "$3" "$4")
    e2e_colour_count "$((x1 - x0))x$((y1 - y0))+$x0+$y0" "$5" "$6" "$7" 6
}
# The clock's square on the HUD camera (centre 7.9, 4.0; size 1.4 of a 10-unit-high view).
read -r CX0 CY0 < <(e2e_ui_point 7.1 4.75)
read -r CX1 CY1 < <(e2e_ui_point 8.7 3.25)
clock_rim() { count_color "$CX0" "$CY0" "$CX1" "$CY1" 40 50 70; }
clock_pie() { count_color "$CX0" "$CY0" "$CX1" "$CY1" 70 130 215; }
clock_warning() { count_color "$CX0" "$CY0" "$CX1" "$CY1" 200 30 30; }
# The lives row: three icons from (-8.3, 4.2), 0.9 apart; their bodies are orange.
read -r LX0 LY0 < <(e2e_ui_point -8.8 4.7)
read -r LX1 LY1 < <(e2e_ui_point -6.0 3.7)
lives_orange() { count_color "$LX0" "$LY0" "$LX1" "$LY1" 240 140 30; }

e2e_start "$ROOT"
e2e_wait_window 30
e2e_open_level1

# The clock is drawn full and waits for the first key; the intro fades from black first.
hud_shown() { [ "$(clock_rim)" -gt 40 ] && [ "$(clock_pie)" -gt 200 ]; }
E2E_WAIT=60 e2e_wait_for hud_shown || e2e_fail "no clock on the HUD (rim $(clock_rim), pie $(clock_pie))"
# Past the intro fade the clock shows all of its pie.
full_clock() { FULL=$(clock_pie); [ "$FULL" -gt 2000 ]; }
E2E_WAIT=30 e2e_wait_for full_clock || e2e_fail "the clock is not full before the first key ($FULL)"
FULL=$(clock_pie)
LIVES=$(lives_orange)
e2e_log "clock shown, pie $FULL pixels; lives row $LIVES orange pixels"
[ "$LIVES" -gt 30 ] || e2e_fail "no life icons in the top left ($LIVES orange pixels)"
[ "$(clock_warning)" -lt 10 ] || e2e_fail "the waiting clock shows the warning look"

# Any key starts the count. The clock runs on game time, which lags behind the wall clock on a
# slow machine, so the checks wait for each face rather than for a fixed time.
e2e_key Shift_L
smaller_pie() { PART=$(clock_pie); awk -v a="$FULL" -v b="$PART" 'BEGIN { exit !(b < a * 0.9 && b > a * 0.1) }'; }
E2E_WAIT=60 e2e_wait_for smaller_pie || e2e_fail "the clock did not run down ($FULL pixels of pie, then $PART)"
e2e_log "running down: pie $PART pixels"
[ "$(clock_warning)" -lt 10 ] || e2e_fail "the warning look came too early"

# From 2 s left the clock turns red.
warning_shown() { WARN=$(clock_warning); [ "$WARN" -gt 40 ]; }
E2E_WAIT=60 e2e_wait_for warning_shown || e2e_fail "no warning look near the end ($WARN red pixels)"
e2e_log "warning look: $WARN red pixels"

e2e_running || e2e_fail "the game ended during play"
e2e_close_and_wait 20
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS, expected 0"
e2e_log "HUD drawn and counting"
