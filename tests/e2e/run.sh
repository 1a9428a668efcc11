#!/usr/bin/env bash
# Runs one end-to-end script on a display of its own, which the X server chooses and reports
# once it accepts connections (tools/with-xvfb.sh).
set -u
exec "$(dirname "$0")/../../tools/with-xvfb.sh" bash "$1"
