#!/bin/sh
# Runs the screen-reader test in a display and a D-Bus session of its own, with a bounded time: the accessibility
# bus and its registry start on demand inside that session and end with it, as does the display.
set -eu
here=$(dirname "$0")
exec timeout -k 10 "${TESSARIN_A11Y_SECONDS:-240}" xvfb-run -a -s "-screen 0 1024x768x24" \
    dbus-run-session -- /usr/bin/python3 "$here/screen_reader_test.py" "$@"
