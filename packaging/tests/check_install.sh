#!/usr/bin/env bash
# Installs a built tree twice, once with `cmake --install` into a DESTDIR and once as the .deb unpacked with
# `dpkg -x`, and checks that both hold the program, its pictures, the launcher on the PATH, the desktop file, the
# metainfo, the icons and the manual page where a desktop expects them, and that the installed program starts and
# finds its pictures. The install keeps the program in libexec/ with its command in bin/ and its pictures in
# share/tessarin/; the package follows Debian's games layout, with the program in lib/games/, its command in games/
# and its pictures in share/games/tessarin/. Either way a relative link Bilder beside the program leads to them.
#   check_install.sh <build dir> <built program> <scratch dir> <cmake> <cpack>
set -euo pipefail

build=$(realpath "$1")
built_program=$2
scratch=$3
cmake=$4
cpack=$5
source_dir=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../..")
app_id=io.github.tessarin.Tessarin
pictures=(BarkGold.gif Background.jpg cross.gif Bullet.gif Up.jpg Right.jpg Down.jpg Left.jpg)
icon_sizes=(16 24 32 48 64 128 256)

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Width and height of a PNG, from its IHDR chunk.
png_size() {
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    echo "${w}x${h}"
}

# Started from an unrelated working folder, so that only its own folder can lead the program to its pictures.
# Leaves the exit status in run_status (124: still running after 2 s) and its output in $scratch/run.log.
run_briefly() {
    run_status=0
    (cd / && QT_QPA_PLATFORM=offscreen HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/home" \
        timeout 2 "$1" >"$scratch/run.log" 2>&1) || run_status=$?
}

# A program that found its pictures keeps running and says nothing about them. One that did not names the
# missing picture on standard error (then waits for the error box to be dismissed, or exits).
starts_and_stays_up() {
    run_briefly "$1"
    [ "$run_status" -eq 124 ] && ! grep -q Bilder "$scratch/run.log"
}

# Everything an installed Tessarin must have, below <root>/usr, with the program, its command and its pictures at
# the given places under it.
check_tree() {
    local label=$1 usr=$2/usr
    local program=$usr/$3
    local launcher=$usr/$4
    local shared=$usr/$5

    [ -f "$program" ] && [ -x "$program" ] || fail "$label: no program at ${program#"$2"}"
    for p in "${pictures[@]}"; do
        cmp -s "$source_dir/Bilder/$p" "$shared/$p" || fail "$label: ${shared#"$2"}/$p missing or different"
        cmp -s "$source_dir/Bilder/$p" "$(dirname "$program")/Bilder/$p" ||
            fail "$label: Bilder/$p not found beside the program"
    done
    local beside=$(dirname "$program")/Bilder
    [ -L "$beside" ] && [[ $(readlink "$beside") != /* ]] ||
        fail "$label: Bilder beside the program is no relative link"

    if [ ! -L "$launcher" ]; then
        fail "$label: ${launcher#"$2"} is not a symlink"
    else
        local target
        target=$(readlink "$launcher")
        [[ $target != /* ]] || fail "$label: the launcher points to the absolute path $target"
        [ "$(realpath "$launcher")" = "$(realpath "$program")" ] || fail "$label: the launcher leads to $target"
    fi

    local desktop=$usr/share/applications/$app_id.desktop
    [ -f "$desktop" ] || fail "$label: no ${desktop#"$2"}"
    [ -f "$desktop" ] && ! desktop-file-validate "$desktop" && fail "$label: the installed desktop file is invalid"
    [ -f "$desktop" ] && ! grep -qx "Icon=$app_id" "$desktop" && fail "$label: the desktop file names another icon"
    [ -f "$usr/share/metainfo/$app_id.metainfo.xml" ] || fail "$label: no metainfo"
    gzip -t "$usr/share/man/man6/tessarin.6.gz" 2>/dev/null || fail "$label: no readable manual page in section 6"

    [ -f "$usr/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "$label: no scalable icon"
    for s in "${icon_sizes[@]}"; do
        local png=$usr/share/icons/hicolor/${s}x${s}/apps/$app_id.png
        if [ ! -f "$png" ]; then
            fail "$label: no ${s}x${s} icon"
        elif [ "$(png_size "$png")" != "${s}x${s}" ]; then
            fail "$label: the ${s}x${s} icon is $(png_size "$png")"
        fi
    done

    # Cross-checks the metainfo against the desktop file and icons actually installed beside it.
    appstreamcli validate-tree --no-net "$2" >"$scratch/validate-tree.log" 2>&1 ||
        { cat "$scratch/validate-tree.log" >&2; fail "$label: appstreamcli validate-tree"; }

    starts_and_stays_up "$launcher" || { cat "$scratch/run.log" >&2; fail "$label: the program did not stay up"; }
}

rm -rf "$scratch"
mkdir -p "$scratch/home"
chmod 700 "$scratch/home"

# The probe itself must tell a program without pictures from one with them, or its passing means nothing.
mkdir -p "$scratch/lonely"
cp "$built_program" "$scratch/lonely/"
run_briefly "$scratch/lonely/tessarin"
if [ "$run_status" -eq 124 ] && ! grep -q Bilder "$scratch/run.log"; then
    fail "a program without Bilder/ beside it neither exited nor named the missing picture on standard error," \
        "so the start-up check cannot tell whether an installed program found its pictures"
fi

echo "== cmake --install into a DESTDIR"
DESTDIR="$scratch/destdir" "$cmake" --install "$build" --prefix /usr >"$scratch/install.log"
check_tree "cmake --install" "$scratch/destdir" libexec/tessarin/tessarin bin/tessarin share/tessarin/Bilder
if [ -e "$scratch/destdir/usr/games" ]; then fail "cmake --install: the package's games layout leaked into it"; fi

echo "== cpack -G DEB, unpacked with dpkg -x"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
debs=("$scratch"/deb/tessarin_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "cpack made no single tessarin .deb"; exit 1; }
deb=${debs[0]}
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tessarin ] || fail "package name $(field Package)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[[ $(field Depends) == *libqt6widgets6* ]] || fail "Depends lacks the Qt Widgets library: $(field Depends)"
if dpkg-deb -c "$deb" | grep -q -e '/usr/local/' -e "$build"; then
    fail "the package holds files outside /usr or from the build tree"
fi
dpkg -x "$deb" "$scratch/root"
check_tree ".deb" "$scratch/root" lib/games/tessarin/tessarin games/tessarin share/games/tessarin/Bilder
if [ -e "$scratch/root/usr/bin" ] || [ -e "$scratch/root/usr/libexec" ]; then fail ".deb: holds bin/ or libexec/ too"; fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "install and package layout: all checks passed"
