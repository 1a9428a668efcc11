#!/usr/bin/env bash
# The menus as a player meets them, in a real window: one lit control shared by the mouse and
# the keys, a click acting where the pointer is at the click, Escape going back one step to the
# button that opened a menu, arrows following the layout of a dialog, the sliders' fill, the
# debug marker, and a broken level file shown on an error screen instead of ending the game.
source "$(dirname "$0")/lib.sh"

LIT="219 143 51"
PLAIN="46 66 115"
ui_is() {  # x y r g b: the colour at UI point x y
    e2e_color_is $(e2e_ui_point "$1" "$2") "$3" "$4" "$5" 20
}
move_to() { xdotool mousemove $(e2e_picture_point $(e2e_ui_point "$1" "$2")); }
# Main menu buttons at x 0, y 1.2 (Play), 0 (How To Play), -1.2 (Options), -2.4 (Quit); their
# colour is sampled right of the labels.
only_lit() {  # y of the one lit main menu button
    local y
    for y in 1.2 0 -1.2 -2.4; do
        if [ "$y" = "$1" ]; then ui_is 1.5 "$y" $LIT || return 1; else ui_is 1.5 "$y" $PLAIN || return 1; fi
    done
}
expect_only_lit() {
    E2E_WAIT=${3:-10} e2e_wait_for only_lit "$1" || e2e_fail "$2: $E2E_LAST_RGB"
    e2e_log "$2"
}

e2e_start
e2e_wait_window 30
e2e_focus
move_to 0 0  # the pointer rests over How To Play while the menu opens
E2E_WAIT=90 e2e_wait_for e2e_menu_shown || e2e_fail "no main menu: $E2E_LAST_RGB"
expect_only_lit 1.2 "a resting pointer takes no focus: only Play is lit"

move_to 0.3 0.1
expect_only_lit 0 "the pointer moved onto How To Play: it alone is lit"
e2e_key Down
expect_only_lit -1.2 "Down goes on from How To Play: only Options is lit"

# A move and a click sent together open How To Play, under the pointer at the click, not
# Options, which had the focus.
xdotool mousemove $(e2e_picture_point $(e2e_ui_point 0.2 0)) click 1
# How To Play's Back button (y -3.25) is lit; Options would show its panel at y -3.45.
E2E_WAIT=10 e2e_wait_for ui_is 1.5 -3.45 $LIT || e2e_fail "How To Play did not open: $E2E_LAST_RGB"
e2e_log "the click opened How To Play"
e2e_keep_shot "${E2E_SHOTS:-$E2E_TMP}/menus-howto.png"

move_to 8 4.5
e2e_key Escape
expect_only_lit 0 "Escape went back with the focus on How To Play"

# Escape in the main menu asks to quit: No (x 2.2) lit, Yes (x -2.2) plain, side by side.
e2e_key Escape
dialog() { ui_is "$1" -1.3 $LIT && ui_is "$2" -1.3 $PLAIN; }
E2E_WAIT=10 e2e_wait_for dialog 3.6 -0.8 || e2e_fail "no quit question with No lit: $E2E_LAST_RGB"
e2e_log "Escape asked to quit, No lit"
e2e_keep_shot "${E2E_SHOTS:-$E2E_TMP}/menus-quit.png"
e2e_key Left
E2E_WAIT=10 e2e_wait_for dialog -0.8 3.6 || e2e_fail "Left did not reach Yes: $E2E_LAST_RGB"
e2e_log "Left moved to Yes"
e2e_key Escape
expect_only_lit -2.4 "Escape answered No, back on Quit"

# Options: the music slider (track x -0.7 to 4.3 at y 1.7) is full, its fill lit.
e2e_key Up Return
E2E_WAIT=10 e2e_wait_for ui_is 1.0 1.7 255 217 115 || e2e_fail "no slider fill: $E2E_LAST_RGB"
e2e_log "the music slider shows its fill"
e2e_key Left Left Left
E2E_WAIT=10 e2e_wait_for eval '! ui_is 3.6 1.7 255 217 115' || e2e_fail "the fill did not shrink: $E2E_LAST_RGB"
ui_is 1.0 1.7 255 217 115 || e2e_fail "the fill is gone left of the knob: $E2E_LAST_RGB"
e2e_log "three steps down, the fill ends at the knob"
e2e_keep_shot "${E2E_SHOTS:-$E2E_TMP}/menus-options.png"
e2e_key Escape
expect_only_lit -1.2 "Escape left Options with the focus on Options"

# Debug mode shows its badge in the top right corner.
badge() {
    local rgb
    rgb=$(e2e_pixel $(e2e_picture_point $(e2e_ui_point 8.6 4.6)))
    set -- $rgb
    E2E_LAST_RGB=$rgb
    [ "$1" -gt 150 ] && [ "$2" -lt 90 ] && [ "$3" -lt 90 ]
}
e2e_key grave
E2E_WAIT=10 e2e_wait_for badge || e2e_fail "no debug marker: $E2E_LAST_RGB"
e2e_log "debug mode marked"
e2e_keep_shot "${E2E_SHOTS:-$E2E_TMP}/menus-debug.png"
e2e_key grave
E2E_WAIT=10 e2e_wait_for eval '! badge' || e2e_fail "the debug marker stayed: $E2E_LAST_RGB"
e2e_close_and_wait 20
e2e_expect_clean_exit

# A broken player file: Play shows the error screen with the file's full path, on the screen
# and on the error output, and its Main Menu goes back.
e2e_copy_assets
printf '{ "Transform": ' >"$ROOT/Assets/Data/Entity/Player.json"
e2e_start "$ROOT"
e2e_wait_window 30
e2e_open_level1
# The error screen's Main Menu (x -2.4, y -3.2) has the focus, Quit (x 2.4) is plain.
error_shown() { ui_is -0.9 -3.2 $LIT && ui_is 3.9 -3.2 $PLAIN; }
E2E_WAIT=60 e2e_wait_for error_shown || e2e_fail "no error screen: $E2E_LAST_RGB"
e2e_log "error screen shown"
e2e_keep_shot "${E2E_SHOTS:-$E2E_TMP}/menus-error.png"
grep -q "^Halvex: error: state \"Level1\" failed to load: $ROOT/Assets/Data/Entity/Player.json: " \
    "$E2E_TMP/stderr" || e2e_fail "no error line with the full path"
e2e_log "error output: $(cat "$E2E_TMP/stderr")"
move_to 8 4.5
e2e_key Return
E2E_WAIT=30 e2e_wait_for e2e_menu_shown || e2e_fail "Main Menu did not go back: $E2E_LAST_RGB"
e2e_log "back in the main menu"
e2e_close_and_wait 20
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after the error screen"
e2e_log "exit 0"
