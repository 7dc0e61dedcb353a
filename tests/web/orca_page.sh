#!/bin/sh
# The web page as a program for the Orca listening check (tests/program/orca_listen.sh): serves the built page on a
# free port and shows it in Chromium's app window, with its accessibility tree on. The server ends with the check's
# time limit at the latest.
#   tests/program/orca_listen.sh tests/web/orca_page.sh transcript.txt tests/web/orca_scenario.txt
here=$(cd "$(dirname "$0")" && pwd)
page=${TESSARIN_PAGE:-$here/../../build/web/page}
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
timeout 900 node "$here/../../tools/serve_page.mjs" "$page" "$port" >/dev/null &
profile=$(mktemp -d)
sleep 1
exec chromium --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --force-renderer-accessibility --user-data-dir="$profile" \
    --window-size=520,620 --app="http://127.0.0.1:$port/"
