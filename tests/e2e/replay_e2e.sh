#!/usr/bin/env bash
# A short recording of Level1 played back in the real window reaches its expected state with
# the same frames and hash as the same file played headless; a truncated recording is refused
# with status 2 before any window opens.
source "$(dirname "$0")/lib.sh"

cat >"$E2E_TMP/walk.json" <<'JSON'
{
  "format": "Halvex replay", "version": 1, "start": "Level1", "expect": "Level1",
  "step": 0.01666666753590107, "seed": 3, "frames": 300,
  "input": [
    {"frame": 20, "key": [68, 1, 0, false]},
    {"frame": 80, "key": [32, 1, 0, false]},
    {"frame": 95, "key": [32, 0, 0, false]},
    {"frame": 120, "key": [68, 0, 0, false]}
  ]
}
JSON

cd "$HALVEX_ROOT" || e2e_fail "no folder $HALVEX_ROOT"
"$HALVEX" --replay "$E2E_TMP/walk.json" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
E2E_PID=$!
e2e_wait_window 60
e2e_log "the replay opened its window"
wait "$E2E_PID"
status=$?
E2E_PID=""
window=$(grep -o 'replay: frames .*' "$E2E_TMP/stdout")
[ "$status" -eq 0 ] || e2e_fail "status $status in the window: $window"
e2e_log "window:   $window"

headless=$("$HALVEX" --replay "$E2E_TMP/walk.json" --headless 2>/dev/null | grep -o 'replay: frames .*')
e2e_log "headless: $headless"
[ "$window" = "$headless" ] || e2e_fail "the window and headless runs differ"
case "$window" in
    "replay: frames 300, from Level1, state Level1, hash "*", expected state reached") ;;
    *) e2e_fail "unexpected result line: $window" ;;
esac

head -c 200 "$E2E_TMP/walk.json" >"$E2E_TMP/cut.json"
"$HALVEX" --replay "$E2E_TMP/cut.json" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr"
status=$?
[ "$status" -eq 2 ] || e2e_fail "a truncated recording gave status $status, not 2"
grep -q "cut.json" "$E2E_TMP/stderr" || e2e_fail "the error does not name the file"
e2e_log "ok"
