#!/usr/bin/env bash
# In debug mode F3 shows the frame overlay in the top left: its frame-time graph (bars)
# and text on a dark panel; F3 again hides it, and outside debug mode F3 does nothing.
source "$(dirname "$0")/lib.sh"


# Pixels of colour r g b (fuzz 8%) in the overlay's corner of the last screenshot.
overlay_count() { e2e_colour_count "$((OX1 - OX0))x$((OY1 - OY0))+$OX0+$OY0" "$1" "$2" "$3" 8; }
# A bar per frame: green up to 17 ms, red above (a loaded display often is).
graph_bars() { echo $(($(overlay_count 77 230 102) + $(overlay_count 255 89 51))); }
# Counted against what the menu itself shows in that corner.
graph_shown() { BARS=$(graph_bars); [ "$BARS" -gt $((BEFORE + 100)) ]; }
graph_gone() { BARS=$(graph_bars); [ "$BARS" -le $((BEFORE + 20)) ]; }

e2e_start
e2e_wait_window 30
read -r OX0 OY0 < <(e2e_picture_point $(e2e_ui_point -8.8 4.9))
read -r OX1 OY1 < <(e2e_picture_point $(e2e_ui_point -2.2 0.5))
E2E_WAIT=90 e2e_wait_for e2e_menu_shown || e2e_fail "no main menu: $E2E_LAST_RGB"
e2e_screenshot
BEFORE=$(graph_bars)
BEFORE_WHITE=$(overlay_count 255 255 255)
e2e_log "before F3: $BEFORE bar-coloured pixels in the corner"

e2e_key F3
sleep 1
e2e_screenshot
graph_gone || e2e_fail "F3 outside debug mode showed the overlay ($BARS bar-coloured pixels)"

e2e_key grave
e2e_key F3
E2E_WAIT=20 e2e_wait_for graph_shown || e2e_fail "no frame-time graph after F3 ($BARS bar-coloured pixels)"
WHITE=$(overlay_count 255 255 255)
[ "$WHITE" -gt "$BEFORE_WHITE" ] || e2e_fail "no text in the overlay ($WHITE white pixels, $BEFORE_WHITE before)"
e2e_log "overlay shown: $BARS graph pixels, $WHITE text pixels"
[ "$WHITE" -gt 100 ] || e2e_fail "the overlay shows no text ($WHITE white pixels)"
[ -n "${E2E_SHOT:-}" ] && e2e_keep_shot "$E2E_SHOT"

e2e_key F3
E2E_WAIT=20 e2e_wait_for graph_gone || e2e_fail "F3 again left the overlay ($BARS bar-coloured pixels)"
e2e_close_and_wait 20
e2e_log "ok"
