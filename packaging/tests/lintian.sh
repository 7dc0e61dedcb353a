#!/usr/bin/env bash
# Builds the .deb and holds it to Debian's policy as lintian knows it: any error or warning fails. Informational
# tags are shown, so a new one is noticed, but do not fail.
#   lintian.sh <build dir> <scratch dir> <cpack>
set -euo pipefail

build=$(realpath "$1")
scratch=$2
cpack=$3

rm -rf "$scratch"
mkdir -p "$scratch"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
lintian --fail-on error,warning --display-info "$scratch"/tessarin_*.deb
echo "lintian: no errors, no warnings"
