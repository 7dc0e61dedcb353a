# Shared by the benchmarks that start programs on an X server, which source it: the priority boost, a scratch
# folder $work with a private Xvfb (both gone when the script exits), and statistics over a results file whose lines
# start "LABEL MAP_MS CPU_MS KIB".

# Other work on the machine (a parallel build) easily swamps a difference of a few milliseconds; where allowed,
# the X server and the measured programs run ahead of it. Both programs get the same treatment.
boost=
if nice -n -10 true 2>/dev/null; then boost="nice -n -10"; fi

work=$(mktemp -d)
xvfb_pid=
# What a script must end before the server goes (wine_setup.sh: its wineserver); it defines this anew.
before_cleanup() { :; }
cleanup() {
    before_cleanup
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# start_xvfb: an Xvfb on a free display, which -displayfd reports once the server accepts clients; leaves the
# display's number in display and the server's process in xvfb_pid. It does not reset when its last client leaves,
# which would drop a client still connecting.
start_xvfb() {
    mkfifo "$work/displayfd"
    $boost Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    display=
    read -r -t 20 display <"$work/displayfd" || true
    [ -n "$display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
}

# watch_figures LINE: map_watch's report of one start, left in run_ms, run_cpu, run_kib (the peak) and run_rss (what
# it still held).
watch_figures() {
    run_ms=$(sed -n 's/.*map_ms=\([0-9.]*\).*/\1/p' <<<"$1")
    run_cpu=$(sed -n 's/.*cpu_ms=\([0-9.]*\).*/\1/p' <<<"$1")
    run_kib=$(sed -n 's/.*hwm_kib=\([0-9]*\).*/\1/p' <<<"$1")
    run_rss=$(sed -n 's/.* rss_kib=\([0-9]*\).*/\1/p' <<<"$1")
}

middle() { # the median of the numbers on standard input
    sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
median() { # FILE LABEL COLUMN
    awk -v l="$2" -v c="$3" '$1 == l {print $c}' "$1" | middle
}
least() { # FILE LABEL COLUMN
    awk -v l="$2" -v c="$3" '$1 == l {print $c}' "$1" | sort -g | head -1
}
