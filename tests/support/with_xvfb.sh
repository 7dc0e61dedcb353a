#!/usr/bin/env bash
# Runs a command in an X server of its own:  with_xvfb.sh [-s WxHxD] COMMAND...
# The server picks a free display itself and names it once it listens, so tests started side by side never race
# for a display number, and a lock left behind by a killed server is passed over. It never resets: an X server
# resets when its last client leaves, and drops every client still connecting then, which such a client reports as
# "could not connect to display" (as the sanitizer-built program, slow to start, did when a client had just left).
# Nor does it repeat keys: a test's key goes down and up at once, but on a busy machine the server can find it still
# down after its repeat delay and type it again (an arrow key then moves the board's cursor twice).
set -euo pipefail
screen=1280x1024x24
if [ "${1:-}" = -s ]; then screen=$2; shift 2; fi
dir=$(mktemp -d)
server=
trap 'exit 143' TERM INT
trap '[ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset -r 3>"$dir/display" 2>"$dir/log" &
server=$!
until [ -s "$dir/display" ]; do
    kill -0 "$server" 2>/dev/null || { cat "$dir/log" >&2; echo "with_xvfb: the X server did not start" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$dir/display")"
unset XAUTHORITY
status=0
"$@" || status=$?
exit "$status"
