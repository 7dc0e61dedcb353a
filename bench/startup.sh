#!/usr/bin/env bash
# Start-up time and peak memory of the game against a bare Qt window of the same size with a menu bar.
#
#   startup.sh [-n RUNS] [-s SETTLE_MS] GAME BARE MAP_WATCH
#
# One private Xvfb serves every run. The two programs are started alternately (game-bare, then bare-game, so a
# load that grows or fades during the measurement weighs on both alike), RUNS times each after one
# uncounted warm-up of each (so the first counted run does not pay for a cold page cache alone), every run with a
# fresh, empty HOME and XDG folders and the same minimal environment, so neither inherits caches or settings.
# map_watch times launch -> MapNotify and reads VmHWM at the end of the settle period. It also reports the
# processor time the program had used by the map: on a busy machine the wall-clock figures swing with the load,
# the processor time much less, so a ratio that only the wall clock puts over the goal is probably noise.
# Prints every run, the medians and the ratios game / bare; the goal is a ratio of at most 1.03 for both.
set -euo pipefail

runs=15
settle=500
while getopts "n:s:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        s) settle=$OPTARG ;;
        *) echo "usage: $0 [-n RUNS] [-s SETTLE_MS] GAME BARE MAP_WATCH" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 3 ] || { echo "usage: $0 [-n RUNS] [-s SETTLE_MS] GAME BARE MAP_WATCH" >&2; exit 2; }
[ "$runs" -ge 7 ] || { echo "at least 7 runs each, for a meaningful median" >&2; exit 2; }
game=$(realpath "$1")
bare=$(realpath "$2")
watch=$(realpath "$3")
command -v Xvfb >/dev/null || { echo "Xvfb is needed (Debian package xvfb)" >&2; exit 2; }

source "$(dirname "${BASH_SOURCE[0]}")/startup_common.sh"

start_xvfb

# run LABEL PROGRAM: one measured start, its figures left in run_ms, run_cpu and run_kib.
run() {
    local label=$1 program=$2 home line
    home=$(mktemp -d "$work/home.XXXXXX")
    mkdir -p "$home/.config" "$home/.cache" "$home/.local/share" "$home/.local/state" "$home/runtime"
    chmod 700 "$home/runtime"
    line=$(env -i PATH=/usr/bin:/bin DISPLAY=":$display" HOME="$home" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
        XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share" \
        XDG_STATE_HOME="$home/.local/state" XDG_RUNTIME_DIR="$home/runtime" \
        $boost "$watch" --settle "$settle" -- "$program" 2>"$work/stderr") ||
        { echo "$label: $(cat "$work/stderr")" >&2; exit 1; }
    rm -rf "$home"
    watch_figures "$line"
}

echo "Xvfb :$display, $runs runs each, settle $settle ms"
echo "game: $game"
echo "bare: $bare"
run game "$game"
run bare "$bare"
printf '%-4s %-5s %10s %10s %12s\n' run prog map_ms cpu_ms VmHWM_MiB
for i in $(seq "$runs"); do
    order="game bare"
    [ $((i % 2)) -eq 0 ] && order="bare game"
    for label in $order; do
        program=$game
        [ "$label" = bare ] && program=$bare
        run "$label" "$program"
        printf '%-4s %-5s %10.2f %10.2f %12.1f\n' "$i" "$label" "$run_ms" "$run_cpu" \
            "$(awk -v k="$run_kib" 'BEGIN{print k/1024}')"
        echo "$label $run_ms $run_cpu $run_kib" >>"$work/results"
    done
done

results=$work/results
game_ms=$(median "$results" game 2)
bare_ms=$(median "$results" bare 2)
game_cpu=$(median "$results" game 3)
bare_cpu=$(median "$results" bare 3)
game_kib=$(median "$results" game 4)
bare_kib=$(median "$results" bare 4)
game_best=$(least "$results" game 2)
bare_best=$(least "$results" bare 2)
echo
awk -v gm="$game_ms" -v bm="$bare_ms" -v gc="$game_cpu" -v bc="$bare_cpu" -v gk="$game_kib" -v bk="$bare_kib" \
    -v gb="$game_best" -v bb="$bare_best" 'BEGIN {
    printf "median map time:   game %7.2f ms   bare %7.2f ms   ratio %.3f\n", gm, bm, gm / bm
    printf "best map time:     game %7.2f ms   bare %7.2f ms   ratio %.3f\n", gb, bb, gb / bb
    printf "median CPU to map: game %7.2f ms   bare %7.2f ms   ratio %.3f\n", gc, bc, gc / bc
    printf "median peak RSS:   game %7.1f MiB  bare %7.1f MiB  ratio %.3f\n", gk / 1024, bk / 1024, gk / bk
    printf "goal: both ratios at most 1.03 -> %s\n", (gm / bm <= 1.03 && gk / bk <= 1.03) ? "met" : "NOT met"
}'
