#!/usr/bin/env bash
# Runs one end-to-end script on a display of its own. xvfb-run -a looks for a free display
# upwards from the number it is given; a random start keeps runs that begin at the same moment
# (parallel ctest, other suites) from racing for the same one.
set -u
exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1600x1000x24 -nolisten tcp" bash "$1"
