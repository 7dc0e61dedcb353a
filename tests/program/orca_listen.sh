#!/bin/sh
# Hears what the Orca screen reader speaks of the program while a scenario plays it by keyboard, and writes the
# utterances down step by step. A manual check, kept out of CTest: a run takes about a minute.
#
#   tests/program/orca_listen.sh PROGRAM [TRANSCRIPT [SCENARIO]]
#
# TRANSCRIPT defaults to orca-transcript.txt, SCENARIO to orca_scenario.txt beside this script (its header says how
# to write one). Orca's debug file and the processes' output are kept in TRANSCRIPT.logs/. It runs in an X server
# and a D-Bus session of its own, with openbox and Orca 43 with default settings but no speech engine: Orca logs
# each utterance all the same. Two transcripts of one program compare with diff. Installs nothing; Debian 12 needs
#   apt-get install orca openbox xdotool xvfb dbus at-spi2-core
# Status 0: each step's expected speech was heard and the program ended with status 0; 1: not so; 2: cannot run.
# The listener's own tests: cd tests/program && python3 -m unittest orca_listen_test
set -u
here=$(dirname "$0")
[ $# -ge 1 ] || { sed -n '2,13s/^# \{0,1\}//p' "$0" >&2; exit 2; }
missing=
for tool in orca openbox xdotool Xvfb dbus-run-session; do
    command -v "$tool" >/dev/null || missing="$missing $tool"
done
[ -x /usr/libexec/at-spi-bus-launcher ] || missing="$missing at-spi-bus-launcher"
if [ -n "$missing" ]; then
    echo "orca_listen: missing$missing; apt-get install orca openbox xdotool xvfb dbus at-spi2-core" >&2
    exit 2
fi
transcript=${2:-orca-transcript.txt}
timeout -k 10 "${ORCA_LISTEN_SECONDS:-600}" "$here/../support/with_xvfb.sh" -s 1024x768x24 \
    dbus-run-session -- /usr/bin/python3 "$here/orca_listen.py" --logs "$transcript.logs" \
    "$1" "$transcript" "${3:-$here/orca_scenario.txt}"
