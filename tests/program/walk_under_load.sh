#!/usr/bin/env bash
# Plays the screen-reader walk RUNS times in a row (200 by default) while one busy loop per processor keeps the
# machine loaded, and counts the walks that failed, each named by its step. The walk's waits must hold however slowly
# the program and the bus answer, so a single failure here is a fault to find, not noise. By hand, outside CTest:
#   walk_under_load.sh PROGRAM [RUNS]      (prints one line per failure, then "passed P, failed F of RUNS")
set -u
here=$(dirname "$0")
[ $# -ge 1 ] || { sed -n '2,5s/^# \{0,1\}//p' "$0" >&2; exit 2; }
program=$1
runs=${2:-200}
loops=()
trap 'exit 143' TERM INT
trap 'kill "${loops[@]}" 2>/dev/null; wait 2>/dev/null' EXIT
for _ in $(seq "$(nproc)"); do
    (while :; do :; done) &
    loops+=($!)
done
passed=0
failed=0
for run in $(seq "$runs"); do
    if output=$("$here/screen_reader_test.sh" "$program" 2>&1); then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "walk $run: $(grep -m 1 '^FAILED' <<<"$output" || echo "ended without a step's failure")"
    fi
done
echo "passed $passed, failed $failed of $runs"
[ "$failed" -eq 0 ]
