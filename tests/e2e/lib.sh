# Helpers for end-to-end tests that drive the real Halvex under Xvfb. A test script sources
# this file, calls e2e_start, and uses the functions below; any failed check ends the script
# with status 1 and a line that says what was expected. The game is killed on exit if it is
# still running. Environment (set by tests/e2e/CMakeLists.txt): HALVEX (the program),
# HALVEX_ROOT (the folder whose Assets/ it reads), X11CLOSE (the window-close helper),
# SHOTPROBE (reads pixels and colour centres from screenshots).

set -u
E2E_TMP=$(mktemp -d)
# A helper's output is often taken through $(...) or <(...), where a failed probe's exit would
# end only that subshell and the check would go on with an empty reading. e2e_fail therefore
# signals the test script itself ($$ is the script in every subshell), which then exits.
E2E_MAIN=$$
trap 'exit 1' USR1
# The game keeps the player's settings under the config folder: a test's stay in its own.
export XDG_CONFIG_HOME="$E2E_TMP/config"
E2E_PID=""
WID=""

e2e_cleanup() {
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
    fi
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "e2e: FAIL: $*" >&2
    if [ -f "$E2E_TMP/stderr" ]; then
        echo "--- game stderr ---" >&2
        cat "$E2E_TMP/stderr" >&2
    fi
    if [ -n "${E2E_KEEP_SHOT:-}" ] && [ -f "$E2E_TMP/last.ppm" ]; then
        e2e_keep_shot "$E2E_KEEP_SHOT"
    fi
    [ "$BASHPID" = "$E2E_MAIN" ] || kill -USR1 "$E2E_MAIN"
    exit 1
}

e2e_log() { echo "e2e: $*"; }

# Starts the game in HALVEX_ROOT (or the folder given) with its output captured.
e2e_start() {
    local root=${1:-$HALVEX_ROOT}
    (cd "$root" && exec "$HALVEX" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr") &
    E2E_PID=$!
    e2e_log "started Halvex (pid $E2E_PID) in $root"
}

e2e_running() { kill -0 "$E2E_PID" 2>/dev/null; }

# Waits up to $1 seconds (default 30) for the game's window; sets WID and the geometry
# WX, WY, WW, WH.
e2e_wait_window() {
    local limit=${1:-30}
    local deadline=$((SECONDS + limit))
    while :; do
        WID=$(xdotool search --name '^Halvex$' 2>/dev/null | head -n 1)
        [ -n "$WID" ] && break
        e2e_running || e2e_fail "the game ended before opening its window"
        [ "$SECONDS" -ge "$deadline" ] && e2e_fail "no Halvex window after ${limit}s"
        sleep 0.1
    done
    e2e_refresh_geometry
}

# Reads the window's position and size again into WX, WY, WW, WH.
e2e_refresh_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
    e2e_log "window $WID at $WX,$WY size ${WW}x$WH"
}

# Awk that sets pw ph (size) and px py (top-left, on the screen) of the letter-boxed 16:9
# picture inside the window whose geometry is in x y w h.
_E2E_PICTURE='aspect = 16 / 9; pw = w; ph = h;
    if (w / h > aspect) pw = h * aspect; else ph = w / aspect;
    px = x + (w - pw) / 2; py = y + (h - ph) / 2;'

# Screen position of a point of the picture given as fractions (0..1 from the top-left) of the
# letter-boxed 16:9 picture inside the window. Prints "x y".
e2e_picture_point() {
    awk -v fx="$1" -v fy="$2" -v x="$WX" -v y="$WY" -v w="$WW" -v h="$WH" \
        "BEGIN { $_E2E_PICTURE printf \"%d %d\\n\", px + fx * pw, py + fy * ph }"
}

# Screenshots are kept as uncompressed PPM: compressing each one took the game's CPU.
e2e_screenshot() { "$SHOTPROBE" grab "$E2E_TMP/last.ppm" || e2e_fail "screenshot failed"; }

# Keeps the last screenshot for a person to look at, as the file $1 (PNG when it ends in .png).
e2e_keep_shot() { convert "$E2E_TMP/last.ppm" "$1" 2>/dev/null || cp "$E2E_TMP/last.ppm" "$1"; }

# Prints "r g b" (0..255) of the last screenshot at screen position x y.
e2e_pixel() { "$SHOTPROBE" pixel "$E2E_TMP/last.ppm" "$1" "$2" || e2e_fail "could not read the screenshot"; }

# True when the last screenshot at picture fractions fx fy is r g b within tolerance tol.
e2e_color_is() {
    e2e_screen_color_is $(e2e_picture_point "$1" "$2") "$3" "$4" "$5" "${6:-12}"
}

# Waits up to $3 seconds (default 10) for the window to measure $1 x $2.
e2e_wait_size() {
    local limit=${3:-10}
    local deadline=$((SECONDS + limit))
    while :; do
        e2e_refresh_geometry >/dev/null
        [ "$WW" -eq "$1" ] && [ "$WH" -eq "$2" ] && return 0
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

# True when the last screenshot at screen position x y is r g b within tolerance tol.
e2e_screen_color_is() {
    local rgb
    rgb=$("$SHOTPROBE" pixel "$E2E_TMP/last.ppm" "$1" "$2") || e2e_fail "could not read the screenshot at $1 $2"
    E2E_LAST_RGB=$rgb
    awk -v got="$rgb" -v r="$3" -v g="$4" -v b="$5" -v t="${6:-12}" 'BEGIN {
        split(got, c, " ");
        d1 = c[1] - r; d2 = c[2] - g; d3 = c[3] - b;
        if (d1 < 0) d1 = -d1; if (d2 < 0) d2 = -d2; if (d3 < 0) d3 = -d3;
        exit !(d1 <= t && d2 <= t && d3 <= t) }'
}

e2e_expect_color() {
    local label=$1
    shift
    e2e_color_is "$@" || e2e_fail "$label: expected rgb $3 $4 $5 at picture point $1 $2, got $E2E_LAST_RGB"
    e2e_log "$label ok ($E2E_LAST_RGB)"
}

# Takes screenshots until the check "$@" (a command) succeeds or $E2E_WAIT seconds pass.
e2e_wait_for() {
    local limit=${E2E_WAIT:-30}
    local deadline=$((SECONDS + limit))
    while :; do
        e2e_screenshot
        "$@" && return 0
        e2e_running || e2e_fail "the game ended while waiting"
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.25
    done
}

e2e_focus() { xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"; }

e2e_key() { e2e_focus; xdotool key --delay 50 "$@"; }

# Clicks mouse button $3 (default 1) at picture fractions $1 $2.
e2e_click() {
    local point
    point=$(e2e_picture_point "$1" "$2")
    e2e_focus
    xdotool mousemove $point click "${3:-1}"
}

# Closes the window as a window manager would and waits up to $1 seconds for the game to end.
# Sets E2E_STATUS to the game's exit status.
e2e_close_and_wait() {
    local limit=${1:-20} waited=0
    "$X11CLOSE" "$WID" || e2e_fail "could not send the close request"
    while e2e_running; do
        [ "$waited" -ge $((limit * 10)) ] && e2e_fail "the game did not end ${limit}s after closing"
        sleep 0.1
        waited=$((waited + 1))
    done
    wait "$E2E_PID"
    E2E_STATUS=$?
    E2E_PID=""
}

e2e_expect_clean_exit() {
    [ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS, expected 0"
    [ ! -s "$E2E_TMP/stderr" ] || e2e_fail "the game wrote to its error output"
    e2e_log "clean exit"
}

# Picture fractions of a point of the "UI" camera (10 units high, centred on the origin, in a
# 16:9 picture); the main menu's buttons are in Assets/Data/Entity/UIMainMenuButtons.json.
e2e_ui_point() { awk -v x="$1" -v y="$2" 'BEGIN { printf "%.4f %.4f\n", 0.5 + x / (160 / 9), 0.5 - y / 10 }'; }

# The main menu is up: Play (y 1.2) has the focus and is lit (button colour 0.86 0.56 0.2).
e2e_menu_shown() { e2e_color_is $(e2e_ui_point 1.5 1.2) 219 143 51 20; }

# From the game's start, through the main menu, into Level1. The click must find Play under
# the cursor: How To Play is hovered until it lights up (the menu follows the cursor), then
# Play until it is lit again, and only then is the button pressed.
e2e_open_level1() {
    E2E_WAIT=90 e2e_wait_for e2e_menu_shown || e2e_fail "no main menu: $E2E_LAST_RGB"
    e2e_log "main menu shown"
    e2e_focus
    xdotool mousemove $(e2e_picture_point $(e2e_ui_point 0 0))
    E2E_WAIT=30 e2e_wait_for _e2e_lit_only 0 1.2 || e2e_fail "How To Play did not light up under the cursor"
    xdotool mousemove $(e2e_picture_point $(e2e_ui_point 0 1.2))
    E2E_WAIT=30 e2e_wait_for _e2e_lit_only 1.2 0 || e2e_fail "Play did not light up under the cursor"
    xdotool click 1
}
_e2e_lit_only() {  # the button at y $1 lit, the one at y $2 plain
    e2e_color_is $(e2e_ui_point 1.5 "$1") 219 143 51 20 && e2e_color_is $(e2e_ui_point 1.5 "$2") 46 66 115 20
}

# Where colour r g b (fuzz $4 percent, default 4) is in the last screenshot's picture, counting
# only what lies right of picture fraction $5 (default 0): prints "fx fy count", the centre of
# those pixels as picture fractions and how many there are (count 0 when there are none).
e2e_colour_centre() {
    local box
    box=$(awk -v x="$WX" -v y="$WY" -v w="$WW" -v h="$WH" \
        "BEGIN { $_E2E_PICTURE printf \"%dx%d+%d+%d\\n\", pw, ph, px, py }")
    local found
    found=$("$SHOTPROBE" centre "$E2E_TMP/last.ppm" "$box" "$1" "$2" "$3" "${4:-4}" "${5:-0}") ||
        e2e_fail "could not read the screenshot"
    echo "$found"
}

# How many pixels of colour r g b (fuzz $5 percent) the last screenshot has inside the screen
# box $1, given as WxH+X+Y.
e2e_colour_count() {
    local found fx fy n
    found=$("$SHOTPROBE" centre "$E2E_TMP/last.ppm" "$1" "$2" "$3" "$4" "$5" 0) ||
        e2e_fail "could not count rgb $2 $3 $4 in box $1 of the screenshot"
    read -r fx fy n <<<"$found"
    [ -n "${n:-}" ] || e2e_fail "could not count rgb $2 $3 $4 in box $1 of the screenshot"
    echo "$n"
}

# Centre of the player's suit (rgb 30 150 150, Assets/Textures/Player/Body.png) in the last
# screenshot, as "fx fy count" (see e2e_colour_centre).
e2e_suit_centre() { e2e_colour_centre 30 150 150; }

# True when the suit stands where it stood in the screenshot checked before (a drop or a jump is
# over); sets SX SY SN to where it is now.
_E2E_SXP=-1 _E2E_SYP=-1
e2e_player_settled() {
    local px=$_E2E_SXP py=$_E2E_SYP found
    found=$(e2e_suit_centre) || e2e_fail "could not find the suit in the screenshot"
    read -r SX SY SN <<<"$found"
    _E2E_SXP=$SX _E2E_SYP=$SY
    awk -v a="$px" -v b="$SX" -v c="$py" -v d="$SY" -v n="$SN" \
        'BEGIN { dx = a - b; dy = c - d; exit !(n > 50 && dx * dx + dy * dy < 0.0001) }'
}

# Makes a copy of the game's data under $E2E_TMP/root for a test to change (textures and sound
# banks are linked, not copied) and sets ROOT to it; start the game there with e2e_start "$ROOT".
e2e_copy_assets() {
    ROOT="$E2E_TMP/root"
    mkdir -p "$ROOT/Assets"
    cp -r "$HALVEX_ROOT/Assets/Data" "$ROOT/Assets/Data"
    ln -s "$HALVEX_ROOT/Assets/Textures" "$ROOT/Assets/Textures"
    ln -s "$HALVEX_ROOT/Assets/Banks" "$ROOT/Assets/Banks"
}
