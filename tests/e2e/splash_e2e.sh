#!/usr/bin/env bash
# The game opens its window, shows the splash logo, takes keys and clicks, and ends with
# status 0 and no error output when its window is closed.
source "$(dirname "$0")/lib.sh"

# Picture fractions of the logo's parts (the logo is 8 x 4 units, centred, in a picture 10
# units high; see Assets/Data/Entity/SplashLogo.json and tools/texgen).
logo_shown() {
    e2e_color_is 0.3383 0.5 255 140 0 &&   # the orange "H", left bar
        e2e_color_is 0.6125 0.5 0 170 160 &&  # the teal disc
        e2e_color_is 0.5 0.35 20 30 70 &&     # the navy panel between them
        e2e_color_is 0.08 0.14 20 20 26       # the backdrop outside the logo
}

e2e_start
e2e_wait_window 30
E2E_WAIT=30 e2e_wait_for logo_shown || {
    e2e_expect_color "orange H" 0.3383 0.5 255 140 0
    e2e_expect_color "teal disc" 0.6125 0.5 0 170 160
    e2e_expect_color "navy panel" 0.5 0.35 20 30 70
    e2e_expect_color "backdrop" 0.08 0.14 20 20 26
}
e2e_log "splash logo shown"

# A taller window keeps the 16:9 picture, centred between black bars (1280 x 720 in 1280 x 900:
# bars of 90 pixels above and below). Checked on the bars and on the picture's edge, which
# whatever scene is showing by then does not paint black.
xdotool windowsize "$WID" 1280 900
letterboxed() {
    e2e_refresh_geometry >/dev/null
    [ "$WH" -eq 900 ] || return 1
    e2e_screen_color_is $((WX + 640)) $((WY + 45)) 0 0 0 2 &&
        e2e_screen_color_is $((WX + 640)) $((WY + 855)) 0 0 0 2 &&
        ! e2e_screen_color_is $((WX + 640)) $((WY + 95)) 0 0 0 2
}
E2E_WAIT=10 e2e_wait_for letterboxed || e2e_fail "no letter-boxed picture after resizing (last $E2E_LAST_RGB)"
e2e_log "letter-boxed after resizing"

# F11 fills the screen (run.sh's screen is 1600 x 1000) and brings the window back.
e2e_key F11
e2e_wait_size 1600 1000 || e2e_fail "F11 did not make the window fullscreen (${WW}x$WH)"
e2e_key F11
e2e_wait_size 1280 900 || e2e_fail "a second F11 did not restore the window (${WW}x$WH)"
e2e_log "F11 toggled fullscreen and back"

# Debug mode on and off, a few keys, a left and a right click: the game takes them all. The
# splash may move on to the menu on a key; keys that would start a level (Enter, Space) and
# clicks on the menu's buttons are avoided, since levels are not part of this test.
e2e_key grave a grave Left Right
e2e_click 0.02 0.03 1
e2e_click 0.97 0.96 3
sleep 0.5
e2e_running || e2e_fail "the game ended after keys and clicks"
xdotool search --name '^Halvex$' >/dev/null || e2e_fail "the window disappeared after input"

e2e_close_and_wait 20
e2e_expect_clean_exit
