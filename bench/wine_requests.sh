#!/usr/bin/env bash
# The requests the Windows program sends to the wineserver before its window shows, against the bare Win32
# window's: a count that, unlike the start-up time (bench/startup_wine.sh), does not move with the load on the
# machine. Under Wine each request is a round trip to the server process (registry reads, COM's class lookups,
# file and window operations), so on a busy machine every one of them can wait for the scheduler.
#
#   wine_requests.sh [-g GAME_ARG]... [-b BARE_ARG]... GAME.exe BARE.exe
#
# A private Xvfb and a fresh prefix, one wineserver for all of it that traces every request (-d1). Each program
# starts twice uncounted (Wine's desktop process, the page cache), then once counted: from its first request up
# to the one that shows its window (set_window_pos with SWP_SHOWWINDOW); each start ends once that has come.
# Prints both counts and their ratio.
set -euo pipefail

usage() {
    echo "usage: $0 [-g GAME_ARG]... [-b BARE_ARG]... GAME.exe BARE.exe" >&2
    exit 2
}
game_args=()
bare_args=()
while getopts "g:b:" opt; do
    case $opt in
        g) game_args+=("$OPTARG") ;;
        b) bare_args+=("$OPTARG") ;;
        *) usage ;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 2 ] || usage
game=$(realpath "$1")
bare=$(realpath "$2")

source "$(dirname "${BASH_SOURCE[0]}")/startup_common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine_setup.sh"
env "${wine_env[@]}" wineserver -f -p -d1 2>"$work/server.log" &
boot_wine

# requests UNIX_PID FROM: the requests of the process Wine runs in that Unix process, up to the one that shows its
# window, read from byte FROM of the log on. Request lines read "TID: name( fields )", replies
# "TID: name() = status { fields }".
requests() {
    tail -c "+$(($2 + 1))" "$work/server.log" | awk -v unix_pid="$1" '
        function showing(line,    at) {  # SWP_SHOWWINDOW, 0x40, is bit 2 of the flags second-to-last hex digit
            if (!match(line, /swp_flags=[0-9a-f]+/)) return 0
            at = index("0123456789abcdef", substr(line, RSTART + RLENGTH - 2, 1)) - 1
            return int(at / 4) % 2
        }
        $2 == "init_first_thread(" && index($0, "unix_pid=" unix_pid ",") { ours[$1] = 1 }
        !($1 in ours) { next }
        $2 == "new_thread()" && match($0, /tid=[0-9a-f]+/) { ours[substr($0, RSTART + 4, RLENGTH - 4) ":"] = 1 }
        $2 ~ /\($/ {
            count++
            if ($2 == "set_window_pos(" && showing($0)) { print count; exit }
        }' || true  # tail is cut short when awk has its count
}

# start PROGRAM [ARGS...]: one start, ended once its window has shown (or after 30 s); its request count up to
# the show in shown, empty when there was none.
start() {
    local from pid
    from=$(stat -c %s "$work/server.log")
    env "${wine_env[@]}" wine "$@" >/dev/null 2>&1 &
    pid=$!
    shown=
    for _ in $(seq 150); do
        shown=$(requests "$pid" "$from")
        [ -n "$shown" ] || ! kill -0 "$pid" 2>/dev/null && break
        sleep 0.2
    done
    [ -n "$shown" ] || shown=$(requests "$pid" "$from")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

for label in game bare; do
    command=("$game" "${game_args[@]}")
    [ "$label" = bare ] && command=("$bare" "${bare_args[@]}")
    for _ in 1 2 3; do
        start "${command[@]}"
        [ -n "$shown" ] || { echo "$label: no window shown: ${command[*]}" >&2; exit 1; }
    done
    declare "${label}_requests=$shown"
done
echo "game: $game ${game_args[*]}"
echo "bare: $bare ${bare_args[*]}"
awk -v g="$game_requests" -v b="$bare_requests" 'BEGIN {
    printf "requests to the wineserver before the window shows: game %d   bare %d   ratio %.3f\n", g, b, g / b
}'
