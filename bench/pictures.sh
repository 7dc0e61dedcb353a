#!/usr/bin/env bash
# Peak and held memory, and the time to the first window, of the game started with heavy or hostile pictures.
#
#   pictures.sh [-n RUNS] GAME MAP_WATCH HEAVY_PICTURES [CASE...]
#
# Cases: shipped (the game's own pictures), photo, largest, largest-cmyk, crafted-gif (see heavy_pictures.cpp);
# all of them by default. Each case runs a copy of the game with its Bilder/ beside it, the case's pictures written
# over the shipped ones, on one private Xvfb, RUNS times (3 by default), each with a fresh HOME. map_watch times
# launch -> the first mapped window (the game's, or the box that refuses a picture) and reads VmHWM (the peak) and
# VmRSS (what is still held) 500 ms later. Prints every run, then each case's medians and how it ended: the
# window, or the first line the program wrote to standard error.
set -euo pipefail

runs=3
while getopts "n:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        *) echo "usage: $0 [-n RUNS] GAME MAP_WATCH HEAVY_PICTURES [CASE...]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -ge 3 ] || { echo "usage: $0 [-n RUNS] GAME MAP_WATCH HEAVY_PICTURES [CASE...]" >&2; exit 2; }
game=$(realpath "$1")
watch=$(realpath "$2")
heavy=$(realpath "$3")
shift 3
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(shipped photo largest largest-cmyk crafted-gif)
command -v Xvfb >/dev/null || { echo "Xvfb is needed (Debian package xvfb)" >&2; exit 2; }

source "$(dirname "${BASH_SOURCE[0]}")/startup_common.sh"
start_xvfb

mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }

echo "Xvfb :$display, $runs runs a case; game: $game"
printf '%-13s %-4s %9s %10s %10s  %s\n' case run map_ms peak_MiB held_MiB outcome
for name in "${cases[@]}"; do
    folder=$work/$name
    mkdir -p "$folder"
    cp "$game" "$folder/tessarin"
    cp -rL "$(dirname "$game")/Bilder" "$folder/Bilder"
    [ "$name" = shipped ] || "$heavy" "$name" "$folder/Bilder"
    : >"$work/$name.results"
    for run in $(seq "$runs"); do
        home=$(mktemp -d "$work/home.XXXXXX")
        line=$(env -i PATH=/usr/bin:/bin DISPLAY=":$display" HOME="$home" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
            XDG_RUNTIME_DIR="$home" "$watch" --settle 500 --timeout 120000 -- "$folder/tessarin" 2>"$work/stderr") ||
            { echo "$name: $(cat "$work/stderr")" >&2; exit 1; }
        rm -rf "$home"
        watch_figures "$line"
        outcome=$(head -n 1 "$work/stderr")
        outcome=${outcome:-the game\'s window}
        printf '%-13s %-4s %9.1f %10s %10s  %s\n' "$name" "$run" "$run_ms" "$(mib "$run_kib")" "$(mib "$run_rss")" \
            "${outcome//$folder/}"
        echo "$run_ms $run_kib $run_rss" >>"$work/$name.results"
    done
    rm -rf "$folder"
done

echo
printf '%-13s %9s %10s %10s   (medians)\n' case map_ms peak_MiB held_MiB
for name in "${cases[@]}"; do
    printf '%-13s %9.1f %10s %10s\n' "$name" "$(cut -d' ' -f1 "$work/$name.results" | middle)" \
        "$(mib "$(cut -d' ' -f2 "$work/$name.results" | middle)")" \
        "$(mib "$(cut -d' ' -f3 "$work/$name.results" | middle)")"
done
