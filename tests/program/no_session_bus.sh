#!/usr/bin/env bash
# The real program where no session bus runs (a bare X session, ssh -X) leaves no process behind: libdbus would
# launch a bus for the first part of Qt that asks for one, and that bus would outlive the program. Every process
# started from here carries a marker in its environment, so whatever is left is found, reported and ended.
#   no_session_bus.sh PROGRAM        (in an X server of its own)
set -euo pipefail
command -v dbus-launch >/dev/null || { echo "dbus-launch is missing (package dbus-x11): no bus could be launched"; exit 77; }
marker=TESSARIN_BUS_PROBE=$$.$RANDOM
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
env -u DBUS_SESSION_BUS_ADDRESS "$marker" XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb "$1" &
program=$!
timeout 20 xdotool search --sync --name '^Tessarin$' >/dev/null || echo "the window did not show"
kill "$program"
wait "$program" || true
left=$(grep -lsa "$marker" /proc/[0-9]*/environ | cut -d/ -f3 || true)
[ -z "$left" ] && { echo "nothing left running"; exit 0; }
ps -o pid,args -p "${left//$'\n'/,}" || true
kill $left 2>/dev/null || true
exit 1
