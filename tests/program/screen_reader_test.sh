#!/bin/sh
# Runs the screen-reader test in a display and a D-Bus session of its own, with a bounded time: the accessibility
# bus and its registry start on demand inside that session and end with it, as does the display. Status 2 means the
# program never showed, as when another X server took the display on a busy machine: a new display is tried.
set -u
here=$(dirname "$0")
for attempt in 1 2 3; do
    status=0
    timeout -k 10 "${TESSARIN_A11Y_SECONDS:-240}" "$here/../support/with_xvfb.sh" -s 1024x768x24 \
        dbus-run-session -- /usr/bin/python3 "$here/screen_reader_test.py" "$@" || status=$?
    [ "$status" -eq 2 ] || exit "$status"
    echo "screen reader test: attempt $attempt found no display" >&2
    sleep 3
done
exit 1
