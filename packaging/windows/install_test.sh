#!/usr/bin/env bash
# The installer under Wine, as a player would use it but silent: it installs the game with its pictures, a
# Start-menu shortcut and an uninstaller; the installed game starts and ends with status 0; the uninstaller takes
# everything away again. Needs a display and the prefix of packaging/windows/wine-session (Wine's menu writer is off there).
#   install_test.sh path/to/tessarin-<version>-win64.exe
set -euo pipefail
installer=$1
drive_c=$WINEPREFIX/drive_c
folder="$drive_c/Program Files/Tessarin"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessarin'
fail() {
    echo "install test: $*" >&2
    exit 1
}
step() { echo "install test: $*"; }
# What the game left in the prefix's files, and its uninstall entry.
traces() {
    find "$drive_c" -iname '*tessarin*' 2>/dev/null
    wine reg query "$uninstall_key" >/dev/null 2>&1 && echo "registry: $uninstall_key"
    true
}

[ -z "$(traces)" ] || fail "the prefix is not clean before the install: $(traces)"

step "silent install"
wine "$installer" /S
for file in tessarin.exe Uninstall.exe Bilder/Up.jpg Bilder/cross.gif; do
    [ -f "$folder/$file" ] || fail "$file was not installed"
done
shortcut=$(find "$drive_c" -path '*Start Menu*' -iname 'Tessarin.lnk' | head -1)
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "no uninstall entry"

step "the installed game starts, and ends with status 0 when its close request is answered Yes"
wine "$folder/tessarin.exe" &
program=$!
for _ in $(seq 600); do
    main=$(xdotool search --onlyvisible --name '^Tessarin$' 2>/dev/null | head -1) && [ -n "$main" ] && break
    sleep 0.1
done
[ -n "$main" ] || fail "the installed game shows no window"
sleep 0.5
xdotool key --clearmodifiers alt+F4
sleep 1
xdotool key Return
wait "$program" || fail "the installed game ended with status $?"

# The uninstaller copies itself away and starts the copy, so the first process ends before the work is done.
step "silent uninstall leaves nothing behind"
wine "$folder/Uninstall.exe" /S
for _ in $(seq 600); do
    [ -z "$(traces)" ] && break
    sleep 0.1
done
[ -z "$(traces)" ] || fail "left behind: $(traces)"
step "passed"
