#!/usr/bin/env bash
# From the main menu into Level1: Play starts the level; holding Right runs the player across
# the level (hopping over a step) and the camera follows; Space makes it jump. Checked from
# screenshots by where the player's suit colour is in the picture and whether the scenery under
# the camera has moved.
source "$(dirname "$0")/lib.sh"

ui_point() { awk -v x="$1" -v y="$2" 'BEGIN { printf "%.4f %.4f\n", 0.5 + x / (160 / 9), 0.5 - y / 10 }'; }
menu_shown() { e2e_color_is $(ui_point 1.5 1.2) 219 143 51 20; }

# Centre of the player's suit (rgb 30 150 150, Assets/Textures/Player/Body.png) in the last
# screenshot, as picture fractions "fx fy count"; count 0 when the suit is not on screen.
suit_centre() {
    local box
    box=$(awk -v x="$WX" -v y="$WY" -v w="$WW" -v h="$WH" 'BEGIN {
        aspect = 16 / 9; pw = w; ph = h;
        if (w / h > aspect) pw = h * aspect; else ph = w / aspect;
        printf "%dx%d+%d+%d\n", pw, ph, x + (w - pw) / 2, y + (h - ph) / 2 }')
    convert "$E2E_TMP/last.png" -crop "$box" +repage -fuzz 4% -fill white \
        -opaque "rgb(30,150,150)" -fill black +opaque white -depth 8 "$E2E_TMP/mask.pgm"
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
print(f"{sx / max(n, 1) / w:.4f} {sy / max(n, 1) / h:.4f} {n}")
PY
}

# Mean difference (0..255) of the bottom eighth of the picture between two screenshots: the
# ground there only changes when the camera moves.
ground_difference() {
    local crop="${WW}x$((WH / 8))+$WX+$((WY + WH - WH / 8))"
    convert "$1" -crop "$crop" +repage "$E2E_TMP/ground1.png"
    convert "$2" -crop "$crop" +repage "$E2E_TMP/ground2.png"
    compare -metric MAE "$E2E_TMP/ground1.png" "$E2E_TMP/ground2.png" null: 2>&1 |
        awk '{ print int($1 / 257) }'
}

e2e_start
e2e_wait_window 30
E2E_WAIT=90 e2e_wait_for menu_shown || e2e_fail "no main menu: $E2E_LAST_RGB"
e2e_log "main menu shown"
# Over Play first, so that the button sees the cursor before the click.
e2e_focus
xdotool mousemove $(e2e_picture_point $(ui_point 0 1.2))
sleep 0.5
xdotool click 1

# Level1 opens with the player near the left wall, where the camera is held by its left bound.
player_on_left() {
    read -r SX SY SN < <(suit_centre)
    awk -v x="$SX" -v n="$SN" 'BEGIN { exit !(n > 50 && x > 0.08 && x < 0.3) }'
}
E2E_WAIT=60 e2e_wait_for player_on_left || e2e_fail "no player at the left of Level1 (suit $SX $SY, $SN pixels)"
sleep 1
e2e_screenshot
read -r SX0 SY0 SN0 < <(suit_centre)
cp "$E2E_TMP/last.png" "$E2E_TMP/start.png"
e2e_log "Level1 shown, player at $SX0 $SY0"

# Run right, hopping over the knee-high step at x = 12..15 on the way.
e2e_focus
xdotool keydown Right
sleep 0.5
xdotool keydown space
sleep 0.15
xdotool keyup space
sleep 1.6
xdotool keyup Right
sleep 0.8
e2e_screenshot
read -r SX1 SY1 SN1 < <(suit_centre)
cp "$E2E_TMP/last.png" "$E2E_TMP/moved.png"
e2e_log "after running right: player at $SX1 $SY1 ($SN1 pixels)"
[ "$SN1" -gt 50 ] || e2e_fail "the player is no longer on screen"
# Past the left bound the camera keeps the player in the middle of the picture.
awk -v a="$SX0" -v b="$SX1" 'BEGIN { exit !(b > a + 0.15 && b > 0.4 && b < 0.6) }' ||
    e2e_fail "the player did not run to the middle of the picture ($SX0 -> $SX1)"
diff=$(ground_difference "$E2E_TMP/start.png" "$E2E_TMP/moved.png")
e2e_log "ground difference $diff"
[ "$diff" -ge 3 ] || e2e_fail "the scenery did not move: the camera did not follow"

# A jump: the player rises above where it stood (the camera follows only part of the way up,
# since it is held above its bottom bound while the player stands).
e2e_focus
xdotool keydown space
sleep 0.3
e2e_screenshot
xdotool keyup space
read -r SX2 SY2 SN2 < <(suit_centre)
e2e_log "jumping: player at $SX2 $SY2"
awk -v a="$SY1" -v b="$SY2" 'BEGIN { exit !(b < a - 0.04) }' ||
    e2e_fail "the player did not rise when jumping ($SY1 -> $SY2)"

e2e_running || e2e_fail "the game ended during play"
e2e_close_and_wait 20
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS, expected 0"
e2e_log "Level1 played"
