#!/usr/bin/env bash
# The real program where no display can be opened: one line naming the cause on standard error, status 1.
#   no_display.sh PROGRAM
out=$(env -i PATH=/usr/bin:/bin QT_QPA_PLATFORM=xcb "$1" 2>&1)
status=$?
printf '%s\n' "$out"
[ "$status" -eq 1 ] || { echo "status $status, expected 1"; exit 1; }
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || { echo "more than one line"; exit 1; }
[[ $out == "tessarin: cannot open a window: could not connect to display"* ]] || exit 1
