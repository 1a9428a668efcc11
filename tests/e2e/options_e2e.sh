#!/usr/bin/env bash
# The Options menu's choices outlive the game: the music volume set with the mouse is written
# to the settings file when the menu closes, full screen (F11) at once, and the next start opens
# full screen and shows the slider where it was left; the Display button goes back to a window.
source "$(dirname "$0")/lib.sh"

# The music slider's track runs from x -0.7 to 4.3 at y 1.7 (Assets/Data/Entity/UIOptionsMenu.json);
# its knob is light grey, or orange while focused, the track a dark grey-blue.
knob_at() {
    e2e_color_is $(e2e_ui_point "$1" 1.7) 230 230 242 30 || e2e_color_is $(e2e_ui_point "$1" 1.7) 255 191 89 30
}
SETTINGS="$XDG_CONFIG_HOME/halvex/settings.json"

# The press must find the cursor already there: the game reads where the mouse is once a frame,
# after the frame's buttons.
ui_click() {
    local point
    point=$(e2e_picture_point $(e2e_ui_point "$1" "$2"))
    e2e_focus
    xdotool mousemove $point
    sleep 0.5
    xdotool click 1
}

open_options() {
    # Away from the buttons: a cursor left over one from the last run would take the focus.
    xdotool mousemove 1 1
    E2E_WAIT=90 e2e_wait_for e2e_menu_shown || e2e_fail "no main menu: $E2E_LAST_RGB"
    ui_click 0 -1.2
    E2E_WAIT=20 e2e_wait_for knob_at "$1" || e2e_fail "no music knob at x $1: $E2E_LAST_RGB"
}

e2e_start
e2e_wait_window 30
open_options 4.3
e2e_log "options open, music at full volume"
[ ! -e "$SETTINGS" ] || e2e_fail "a settings file was written before anything changed"

# Three tenths along the track.
ui_click 0.8 1.7
E2E_WAIT=20 e2e_wait_for knob_at 0.8 || e2e_fail "the knob did not follow the click: $E2E_LAST_RGB"
ui_click 0 -2.9
waited=0
until [ -s "$SETTINGS" ]; do
    [ "$waited" -ge 100 ] && e2e_fail "no settings file 10s after closing Options"
    sleep 0.1
    waited=$((waited + 1))
done
music=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["Music Volume"])' "$SETTINGS")
awk -v m="$music" 'BEGIN { exit !(m > 0.27 && m < 0.33) }' || e2e_fail "music volume $music saved"
e2e_log "saved music volume $music"
fullscreen_saved() {
    python3 -c 'import json, sys; sys.exit(json.load(open(sys.argv[1]))["Fullscreen"] != (sys.argv[2] == "1"))' \
        "$SETTINGS" "$1"
}
# run.sh's screen is 1600 x 1000.
e2e_key F11
e2e_wait_size 1600 1000 || e2e_fail "F11 did not make the window fullscreen (${WW}x$WH)"
fullscreen_saved 1 || e2e_fail "full screen not saved: $(cat "$SETTINGS")"
e2e_close_and_wait 20
e2e_expect_clean_exit

e2e_start
e2e_wait_window 30
e2e_wait_size 1600 1000 || e2e_fail "the next start is not full screen (${WW}x$WH)"
open_options 0.8
e2e_log "the next start is full screen and shows the music volume where it was left"
ui_click 1.8 -0.5
e2e_wait_size 1280 720 || e2e_fail "the Display button did not go back to a window (${WW}x$WH)"
fullscreen_saved 0 || e2e_fail "the window mode not saved: $(cat "$SETTINGS")"
e2e_close_and_wait 20
e2e_expect_clean_exit
