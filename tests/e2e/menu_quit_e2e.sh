#!/usr/bin/env bash
# The splash screen gives way to the main menu by itself; the menu answers the mouse (a click
# beside the buttons does nothing, the button under the cursor lights up) and a click on Quit,
# then on Yes in the question it asks, ends the game with status 0 and no error output.
source "$(dirname "$0")/lib.sh"

ui_color_is() {
    local x=$1 y=$2
    shift 2
    e2e_color_is $(e2e_ui_point "$x" "$y") "$@" 20
}
ui_hover() {
    local point
    point=$(e2e_picture_point $(e2e_ui_point "$1" "$2"))
    e2e_focus
    xdotool mousemove $point
}

# Button colours: plain (0.18, 0.26, 0.45) and highlighted (0.86, 0.56, 0.2), sampled beside
# the labels. Play (y 1.2) has the focus when the menu opens; Quit is at y -2.4.
menu_shown() { ui_color_is 1.5 1.2 219 143 51 && ui_color_is 1.5 -2.4 46 66 115; }
quit_lit() { ui_color_is 1.5 -2.4 219 143 51 && ui_color_is 1.5 1.2 46 66 115; }

e2e_start
e2e_wait_window 30
E2E_WAIT=90 e2e_wait_for menu_shown || e2e_fail "no main menu (Play lit, Quit plain): $E2E_LAST_RGB"
e2e_log "main menu shown"

e2e_click $(e2e_ui_point 6 -2.4)
sleep 1
e2e_running || e2e_fail "a click beside the buttons ended the game"

ui_hover 0 -2.4
E2E_WAIT=20 e2e_wait_for quit_lit || e2e_fail "Quit did not light up under the cursor"
e2e_log "Quit lit under the cursor"

xdotool click 1
# "Quit the game?": Yes at (-2.2, -1.3), No (2.2) has the focus.
yes_plain() { ui_color_is -0.8 -1.3 46 66 115 && ui_color_is 3.6 -1.3 219 143 51; }
E2E_WAIT=20 e2e_wait_for yes_plain || e2e_fail "Quit did not ask first: $E2E_LAST_RGB"
ui_hover -2.2 -1.3
E2E_WAIT=20 e2e_wait_for ui_color_is -0.8 -1.3 219 143 51 || e2e_fail "Yes did not light up: $E2E_LAST_RGB"
xdotool click 1
waited=0
while e2e_running; do
    [ "$waited" -ge 200 ] && e2e_fail "the game still runs 20s after clicking Quit"
    sleep 0.1
    waited=$((waited + 1))
done
wait "$E2E_PID"
E2E_STATUS=$?
E2E_PID=""
e2e_expect_clean_exit
