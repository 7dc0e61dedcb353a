# Sourced by the benchmarks that start the game on an X server: one private Xvfb for the whole run.
#   private_xvfb [COMMAND PREFIX...]
# Makes the folder $work, started with the server and removed with it when the script exits, and leaves the
# server's display number in $display. -displayfd picks a free display and reports it once the server accepts
# clients.
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

private_xvfb() {
    mkfifo "$work/displayfd"
    "$@" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    display=
    read -r -t 20 display <"$work/displayfd" || true
    [ -n "$display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
}
