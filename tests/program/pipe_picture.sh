#!/usr/bin/env bash
# The real program with a named pipe in place of one of its pictures. Opening the pipe would wait for a writer for
# ever, so CTest runs this under a time limit: a wait anywhere fails it by timing out.
#   pipe_picture.sh PROGRAM PICTURE STATUS        (in an X server of its own)
# A required picture (STATUS 1) must stop start-up with its error line and a box; an optional one (STATUS 0) counts
# as missing, and the game must end on File > Exit answered Yes. Boxes are answered with Return.
set -euo pipefail
program=$1 picture=$2 expected=$3
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cp "$program" "$work/tessarin"
cp -r "$(dirname "$program")/Bilder" "$work/Bilder"
rm "$work/Bilder/$picture"
mkfifo "$work/Bilder/$picture"
"$work/tessarin" 2>"$work/stderr" &
pid=$!

# Prints a shown window of the program other than those named, once there is one; with WITHIN set, waits that many
# tenths of a second at most and prints nothing when none came.
new_window() {
    local w tries=${WITHIN:--1}
    for (( ; tries != 0; tries-- )); do
        kill -0 "$pid" 2>/dev/null || { cat "$work/stderr" >&2; echo "the program ended before its window showed" >&2; exit 1; }
        for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
            [[ " $* " == *" $w "* ]] || { echo "$w"; return; }
        done
        sleep 0.1
    done
}

known=
if [ "$expected" -eq 0 ]; then
    main=$(new_window)
    # On a busy machine the window can be shown before it takes input: press File until its menu opens.
    menu=
    until [ -n "$menu" ]; do
        xdotool mousemove --window "$main" 15 10 click 1
        menu=$(WITHIN=20 new_window "$main")
    done
    xdotool key Up Return                             # its last item, Exit
    known="$main $menu"
fi
new_window $known >/dev/null
xdotool key Return
status=0
wait "$pid" || status=$?
pid=
cat "$work/stderr" >&2
[ "$status" -eq "$expected" ] || { echo "status $status, expected $expected" >&2; exit 1; }
if [ "$expected" -ne 0 ]; then
    grep -q "^tessarin: cannot load picture '.*/$picture': not a file (a named pipe)$" "$work/stderr" ||
        { echo "no error line naming the pipe" >&2; exit 1; }
fi
echo "ended with status $status"
