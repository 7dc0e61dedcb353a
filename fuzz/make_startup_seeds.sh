#!/usr/bin/env bash
# Writes the start-up fuzzer's seeds into $1: each shipped picture behind the byte
# that selects its file, once per game option set, and each file missing.
set -euo pipefail
out=$1
pictures="$(dirname "${BASH_SOURCE[0]}")/../Bilder"
files=(BarkGold.gif Background.jpg cross.gif Bullet.gif Up.jpg Right.jpg Down.jpg Left.jpg)
mkdir -p "$out"
for i in "${!files[@]}"; do
    for options in 0 16 32 48; do
        { printf "\\x$(printf %02x $((i + options)))"; cat "$pictures/${files[$i]}"; } > "$out/${files[$i]}.$options"
    done
    printf "\\x$(printf %02x $((i + 8)))" > "$out/${files[$i]}.missing"
done
