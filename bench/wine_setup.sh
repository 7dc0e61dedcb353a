# Sourced by the benchmarks of the Windows program under Wine, after startup_common.sh: a scratch folder in work
# with a private Xvfb and a fresh Wine prefix, all taken away when the script ends. The script starts the prefix's
# wineserver its own way, then fills the prefix with boot_wine.
for tool in Xvfb wine wineserver wineboot; do
    command -v "$tool" >/dev/null || { echo "$tool is needed (Debian packages xvfb, wine, wine64)" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=
wine_env=()
cleanup() {
    if [ ${#wine_env[@]} -gt 0 ]; then
        env "${wine_env[@]}" wineserver -k 2>/dev/null || true
        env "${wine_env[@]}" wineserver -w 2>/dev/null || true
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work"

# Every Wine command, the server and the measured programs alike, sees only this environment. No menu entries in
# the host's home folder, and no offer to download .NET or HTML engines.
mkdir -p "$work/home" "$work/prefix"
wine_env=(-i PATH=/usr/bin:/bin DISPLAY=":$display" HOME="$work/home" LANG=C.UTF-8 WINEPREFIX="$work/prefix"
          WINEARCH=win64 WINEDEBUG=-all "WINEDLLOVERRIDES=winemenubuilder.exe=d;mscoree=d;mshtml=d")

boot_wine() {
    env "${wine_env[@]}" wineboot -i >"$work/wineboot.log" 2>&1 ||
        { echo "wineboot failed:" >&2; cat "$work/wineboot.log" >&2; exit 1; }
}
