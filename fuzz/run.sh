#!/usr/bin/env bash
# Builds the fuzz preset and runs each fuzz target for a bounded time from its seeds.
#   fuzz/run.sh [seconds per target, default 60]
# A crash, a sanitizer report, a failed check or an input running over 10 s fails the
# run; the input is left in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target gdi_fuzz picture_fuzz startup_fuzz --parallel "$(nproc)"

seeds=build/fuzz/seeds
rm -rf "$seeds"
mkdir -p "$seeds/gdi" "$seeds/picture" build/fuzz/artifacts
cp fuzz/corpus/gdi/* "$seeds/gdi/"
# The shipped pictures behind the byte that picks their decoder.
for file in Bilder/*.gif Bilder/*.jpg; do
    { [[ $file == *.jpg ]] && printf '\x01' || printf '\x00'; cat "$file"; } >"$seeds/picture/$(basename "$file")"
done
fuzz/make_startup_seeds.sh "$seeds/startup"

run() {
    local target=$1 work=build/fuzz/work/$1 log=build/fuzz/$1.log rc=0
    shift
    mkdir -p "$work"
    echo "Fuzzing $target for $seconds s"
    "build/fuzz/fuzz/$target" "$work" "$seeds/${target%_fuzz}" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="build/fuzz/artifacts/$target-" -print_final_stats=1 "$@" >"$log" 2>&1 ||
        rc=$?
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log" || true
    if [ "$rc" -ne 0 ]; then
        tail -n 40 "$log"
        return "$rc"
    fi
}

run gdi_fuzz
run picture_fuzz -max_len=65536
QT_QPA_PLATFORM=offscreen run startup_fuzz -max_len=65536
