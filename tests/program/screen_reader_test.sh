#!/bin/sh
# Runs the screen-reader test in a display and a D-Bus session of its own: the accessibility bus and its registry
# start on demand inside that session and end with it, as does the display. TESSARIN_A11Y_SECONDS (240 by default)
# is the walk's only time limit: its steps wait for the bus's events as long as that allows.
set -u
here=$(dirname "$0")
export TESSARIN_A11Y_SECONDS=${TESSARIN_A11Y_SECONDS:-240}
exec timeout -k 10 "$TESSARIN_A11Y_SECONDS" "$here/../support/with_xvfb.sh" -s 1024x768x24 \
    dbus-run-session -- /usr/bin/python3 "$here/screen_reader_test.py" "$@"
