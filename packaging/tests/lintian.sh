#!/usr/bin/env bash
# Builds the .deb and holds it to Debian's policy as lintian knows it, pedantic tags included: any tag fails but the
# experimental ones, which lintian itself does not stand behind.
#   lintian.sh <build dir> <scratch dir> <cpack>
set -euo pipefail

build=$(realpath "$1")
scratch=$2
cpack=$3

rm -rf "$scratch"
mkdir -p "$scratch"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
lintian --pedantic --fail-on error,warning,info,pedantic "$scratch"/tessarin_*.deb
echo "lintian --pedantic: no tags"
