#!/usr/bin/env bash
# Runs a command on an Xvfb display of its own: usage `tools/with-xvfb.sh COMMAND [ARG...]`.
# The server picks a free display itself (-displayfd) and reports it only once it accepts
# connections, so two runs starting together cannot race for one display and the command never
# starts before its server. The screen size is XVFB_SCREEN (default 1600x1000x24). The server is
# stopped when the command ends; the command's exit status is returned.
set -u
screen=${XVFB_SCREEN:-1600x1000x24}
work=$(mktemp -d)
xvfb_pid=""
stop_server() {
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap stop_server EXIT

# -noreset: without it the server resets when its last client leaves (the probe below), and a
# client connecting during that reset is refused.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$work/display" 2>"$work/log" &
xvfb_pid=$!

# The display number arrives on the descriptor when the server is ready; a limit keeps a
# server that never comes up from hanging the caller.
waited=0
until [ -s "$work/display" ] && grep -q '^[0-9][0-9]*$' "$work/display"; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with-xvfb: the X server ended before it was ready:" >&2
        cat "$work/log" >&2
        exit 1
    fi
    if [ "$waited" -ge 600 ]; then
        echo "with-xvfb: no X server ready after 60s" >&2
        exit 1
    fi
    sleep 0.1
    waited=$((waited + 1))
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
# A last check that the display answers, so a failure here is the server's and not the test's.
xdotool getdisplaygeometry >/dev/null 2>&1 || {
    echo "with-xvfb: display $DISPLAY does not accept connections" >&2
    exit 1
}

"$@"
status=$?
exit "$status"
