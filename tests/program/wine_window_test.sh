#!/usr/bin/env bash
# The real program under Wine, driven through the X display like a player would: the window appears, New game
# (Ctrl+N) and a press put a piece on the board, File > Exit answered No (Escape) keeps the game, the close request
# answered Yes ends the program with status 0; and without Bilder\Up.jpg it shows the error box and ends with
# status 1; at 200 % the window doubles with every pixel an exact 2 x 2 block. From the keyboard: the arrows move
# the focus frame and Return plays, F10 and Alt+F open the File menu. Needs a display of at least
# 1000 x 1100 pixels and a Wine prefix whose windows Wine frames itself (packaging/windows/wine-session makes one).
#   window_test.sh path/to/tessarin.exe
set -euo pipefail
exe=$1
work=$(mktemp -d)
program=
finish() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
cp "$exe" "$work/"
cp -r "$(dirname "$exe")/Bilder" "$work/"
fail() {
    echo "window test: $*" >&2
    exit 1
}
step() { echo "window test: $*"; }
# The programs' output goes to files: Wine's desktop process, started with the first window, would otherwise hold
# this script's output open after it ended.

# The top-level windows titled Tessarin as "id width height", largest first.
windows() {
    for id in $(xdotool search --onlyvisible --name '^Tessarin$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        echo "$id $WIDTH $HEIGHT"
    done | sort -k2,2nr
}
# Waits up to 60 s until `windows` gives $1 lines; prints them.
await_windows() {
    for _ in $(seq 600); do
        local found
        found=$(windows)
        [ "$(printf '%s' "$found" | grep -c .)" -eq "$1" ] && { printf '%s\n' "$found"; return; }
        sleep 0.1
    done
    fail "expected $1 window(s) titled Tessarin, found: $(windows | tr '\n' ';')"
}
# A checksum of a 40 x 40 square of the client area around (x, y).
square() { import -window "$main" -crop "40x40+$((left + $1 - 20))+$((top + $2 - 20))" rgb:- | md5sum; }
click() { xdotool mousemove --window "$main" $((left + $1)) $((top + $2)) click 1; }
await_exit() {
    for _ in $(seq 300); do
        kill -0 "$program" 2>/dev/null || { wait "$program" && status=0 || status=$?; program=; return; }
        sleep 0.1
    done
    fail "the program did not end"
}

step "start; the window titled Tessarin appears"
wine "$work/tessarin.exe" >"$work/stdout" 2>"$work/stderr" &
program=$!
read -r main width height < <(await_windows 1)
# Wine frames the window itself: the client area sits at the bottom of the frame, the border all around.
left=$(((width - 454) / 2))
top=$((height - left - 486))
[ "$left" -ge 0 ] && [ "$top" -gt 0 ] || fail "the window is $width x $height, too small for the client area"
cell="$((32 + 64)) $((32 + 64))"  # the middle of the board's top-left cell, away from the grid

step "a press before New game draws nothing"
before=$(square $cell)
click $cell
sleep 0.5
[ "$(square $cell)" = "$before" ] || fail "a press before New game changed the board"

step "New game (Ctrl+N) and a press put a piece on the board"
xdotool key --clearmodifiers ctrl+n
sleep 0.5
click $cell
sleep 0.5
played=$(square $cell)
[ "$played" != "$before" ] || fail "the press drew no piece"

step "from the keyboard: Right shows the focus frame on the next cell, Return plays it"
beside="$((32 + 128 + 64)) $((32 + 64))"
edge="$((32 + 128 + 12)) $((32 + 12))"  # around the next cell's top-left corner, where the frame runs
empty=$(square $beside)
unframed=$(square $edge)
xdotool key Right
sleep 0.5
[ "$(square $edge)" != "$unframed" ] || fail "Right showed no focus frame on the next cell"
xdotool key Return
sleep 0.5
[ "$(square $beside)" != "$empty" ] || fail "Return played no piece on the cursor's cell"
played=$(square $cell)

step "File > Exit (F10, then Up and Return) answered No (Escape) keeps the game"
xdotool key F10
sleep 0.5
xdotool key Down Up Return
await_windows 2 >/dev/null
xdotool key Escape
await_windows 1 >/dev/null
sleep 0.5
kill -0 "$program" 2>/dev/null || fail "the program ended although Exit was answered No"
[ "$(square $cell)" = "$played" ] || fail "the board changed after Exit was answered No"

step "the close request (Alt+F4) answered Yes ends the program with status 0"
xdotool key --clearmodifiers alt+F4
await_windows 2 >/dev/null
xdotool key Return
await_exit
[ "$status" -eq 0 ] || fail "the program ended with status $status"

step "without Bilder\\Up.jpg: the error box, then status 1"
rm "$work/Bilder/Up.jpg"
wine "$work/tessarin.exe" >"$work/stdout" 2>"$work/stderr" &
program=$!
read -r box width height < <(await_windows 1)
[ "$width" -lt 454 ] || fail "a window of the game's size appeared instead of the error box"
xdotool key Return
await_exit
[ "$status" -eq 1 ] || fail "the program ended with status $status"
grep -q 'Up.jpg' "$work/stderr" || fail "the error does not name Up.jpg: $(cat "$work/stderr")"
step "at 200 % the client area doubles and each of its pixels is an exact 2 x 2 block"
cp "$(dirname "$exe")/Bilder/Up.jpg" "$work/Bilder/"
desktop='HKCU\Control Panel\Desktop'
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
wine "$work/tessarin.exe" >"$work/stdout" 2>"$work/stderr" &
program=$!
read -r main width height < <(await_windows 1)
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
left=$(((width - 2 * 454) / 2))
top=$((height - left - 2 * 486))
[ "$left" -ge 0 ] && [ "$left" -lt 20 ] && [ "$top" -gt 0 ] || fail "at 200 % the window is $width x $height"
# The board (design pixels 32 to 417) seen at full size, against its every other pixel doubled again.
import -window "$main" -crop "770x770+$((left + 64))+$((top + 64))" "$work/board.png"
convert "$work/board.png" -sample 50% -sample 200% "$work/blocks.png"
differing=$(compare -metric AE "$work/board.png" "$work/blocks.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "at 200 % the board is not made of 2 x 2 blocks ($differing pixels differ)"
step "File > Exit through its access key (Alt+F, then Up and Return) answered Yes ends the program with status 0"
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key Up Return
await_windows 2 >/dev/null
xdotool key Return
await_exit
[ "$status" -eq 0 ] || fail "the program ended with status $status"
step "passed"
