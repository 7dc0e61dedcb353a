# Sourced by the benchmarks of the Windows program under Wine, after startup_common.sh: the private Xvfb and a fresh
# Wine prefix in the scratch folder, all taken away when the script ends. The script starts the prefix's
# wineserver its own way, then fills the prefix with boot_wine.
for tool in Xvfb wine wineserver wineboot; do
    command -v "$tool" >/dev/null || { echo "$tool is needed (Debian packages xvfb, wine, wine64)" >&2; exit 2; }
done

wine_env=()
before_cleanup() {
    [ ${#wine_env[@]} -gt 0 ] || return 0
    env "${wine_env[@]}" wineserver -k 2>/dev/null || true
    env "${wine_env[@]}" wineserver -w 2>/dev/null || true
}
start_xvfb

# Every Wine command, the server and the measured programs alike, sees only this environment. No menu entries in
# the host's home folder, and no offer to download .NET or HTML engines.
mkdir -p "$work/home" "$work/prefix"
wine_env=(-i PATH=/usr/bin:/bin DISPLAY=":$display" HOME="$work/home" LANG=C.UTF-8 WINEPREFIX="$work/prefix"
          WINEARCH=win64 WINEDEBUG=-all "WINEDLLOVERRIDES=winemenubuilder.exe=d;mscoree=d;mshtml=d")

boot_wine() {
    env "${wine_env[@]}" wineboot -i >"$work/wineboot.log" 2>&1 ||
        { echo "wineboot failed:" >&2; cat "$work/wineboot.log" >&2; exit 1; }
}
