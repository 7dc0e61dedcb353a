#!/usr/bin/env bash
# Start-up time of the Windows program under Wine against a bare Win32 window with the same menu and client size.
#
#   startup_wine.sh [-n RUNS] [-s SETTLE_MS] [-g GAME_ARG]... [-b BARE_ARG]... GAME.exe BARE.exe MAP_WATCH
#
# One private Xvfb and one fresh Wine prefix serve every run, with a single wineserver kept alive throughout, so
# no start pays for booting Wine or for a server that has just let go of the previous program. The two programs
# are started alternately (game-bare, then bare-game), RUNS times each after one uncounted warm-up of each (the
# first start of a window brings up Wine's desktop process, and reads the page cache in). map_watch, the same for
# both, times launch -> MapNotify of the program's window on the X side, and reports the processor time the
# program had used by then. -g and -b pass arguments to the game and to the bare window, so the same script
# measures the bare window with one more system component against itself (bare_window_win32.exe --wic).
# The prefix is Wine's default one: Wine leaves window frames to a window manager (there is none), so the windows
# map as ordinary top-level windows that map_watch sees.
# Prints every run, the medians and the ratios game / bare, and the median of the ratios within a round, which a
# load on the machine that comes and goes sways less; the goal is a median ratio of at most 1.15.
set -euo pipefail

usage() {
    echo "usage: $0 [-n RUNS] [-s SETTLE_MS] [-g GAME_ARG]... [-b BARE_ARG]... GAME.exe BARE.exe MAP_WATCH" >&2
    exit 2
}
runs=11
settle=300
game_args=()
bare_args=()
while getopts "n:s:g:b:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        s) settle=$OPTARG ;;
        g) game_args+=("$OPTARG") ;;
        b) bare_args+=("$OPTARG") ;;
        *) usage ;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 3 ] || usage
[ "$runs" -ge 7 ] || { echo "at least 7 runs each, for a meaningful median" >&2; exit 2; }
game=$(realpath "$1")
bare=$(realpath "$2")
watch=$(realpath "$3")

# The priority boost (the wineserver gets it too), the private Xvfb, the prefix and the statistics.
source "$(dirname "${BASH_SOURCE[0]}")/startup_common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine_setup.sh"
env "${wine_env[@]}" $boost wineserver -p
boot_wine

# run LABEL: one measured start, its figures left in run_ms, run_cpu and run_kib.
run() {
    local label=$1 line
    local command=("$game" "${game_args[@]}")
    [ "$label" = bare ] && command=("$bare" "${bare_args[@]}")
    # A minute for the window: the first start in a fresh prefix on a busy machine can take many seconds.
    line=$(env "${wine_env[@]}" $boost "$watch" --settle "$settle" --timeout 60000 -- wine "${command[@]}" \
        2>"$work/stderr") || { echo "$label: $(cat "$work/stderr")" >&2; exit 1; }
    watch_figures "$line"
}

echo "Xvfb :$display, one wineserver, $runs runs each, settle $settle ms"
echo "game: $game ${game_args[*]}"
echo "bare: $bare ${bare_args[*]}"
results=$work/results
run game
run bare
printf '%-4s %-5s %10s %10s %12s\n' run prog map_ms cpu_ms VmHWM_MiB
for i in $(seq "$runs"); do
    order="game bare"
    [ $((i % 2)) -eq 0 ] && order="bare game"
    for label in $order; do
        run "$label"
        printf '%-4s %-5s %10.2f %10.2f %12.1f\n' "$i" "$label" "$run_ms" "$run_cpu" \
            "$(awk -v k="$run_kib" 'BEGIN{print k/1024}')"
        echo "$label $run_ms $run_cpu $run_kib $i" >>"$results"
    done
done

# The median over the rounds of game's figure in COLUMN over bare's in the same round: the two starts of a round
# follow each other, so a load on the machine that comes and goes weighs on both sides of each ratio alike.
paired() { # COLUMN
    awk -v c="$1" '{v[$5 " " $1] = $c; r[$5] = 1} END {for (i in r) print v[i " game"] / v[i " bare"]}' \
        "$results" | middle
}
echo
awk -v gm="$(median "$results" game 2)" -v bm="$(median "$results" bare 2)" -v pm="$(paired 2)" \
    -v gc="$(median "$results" game 3)" -v bc="$(median "$results" bare 3)" -v pc="$(paired 3)" \
    -v gk="$(median "$results" game 4)" -v bk="$(median "$results" bare 4)" \
    -v gb="$(least "$results" game 2)" -v bb="$(least "$results" bare 2)" 'BEGIN {
    printf "median map time:   game %7.2f ms   bare %7.2f ms   ratio %.3f\n", gm, bm, gm / bm
    printf "paired map time:   median ratio of the two starts of a round %.3f\n", pm
    printf "best map time:     game %7.2f ms   bare %7.2f ms   ratio %.3f\n", gb, bb, gb / bb
    printf "median CPU to map: game %7.2f ms   bare %7.2f ms   ratio %.3f (paired %.3f)\n", gc, bc, gc / bc, pc
    printf "median peak RSS:   game %7.1f MiB  bare %7.1f MiB  ratio %.3f\n", gk / 1024, bk / 1024, gk / bk
    printf "goal: median map time ratio at most 1.15 -> %s\n", (gm / bm <= 1.15) ? "met" : "NOT met"
}'
