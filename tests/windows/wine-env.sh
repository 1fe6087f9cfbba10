# Sourced by the Windows checks: a Wine prefix set up as a school's Windows
# machine would be for the program, on the current X display.
#   amino_wine_prefix PREFIX
# Needs DISPLAY: Wine draws even offscreen programs' windows through X.

export WINEDEBUG=${WINEDEBUG:--all}
# Wine's Mono and Gecko installers would ask to download; the program needs
# neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps the caller's QT_* variables from Windows programs by itself.
unset WAYLAND_DISPLAY

amino_wine_prefix() {
    export WINEPREFIX=$1
    if [ -z "${DISPLAY:-}" ]; then
        echo "FAIL: no X display; run under xvfb-run (scripts/windows does)" >&2
        return 1
    fi
    [ -f "$WINEPREFIX/.aminokiselini-ready" ] && return 0
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    timeout 180 wineboot --init >/dev/null 2>&1 || { echo "FAIL: wineboot could not make $WINEPREFIX" >&2; return 1; }
    # Windows has Times New Roman, Wine does not: let the metric-compatible
    # Liberation Serif (which Wine finds through fontconfig) answer for it,
    # so that the captions are laid out as on Windows.
    timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif' /f >/dev/null 2>&1
    timeout 60 wineserver --wait
    touch "$WINEPREFIX/.aminokiselini-ready"
}

# The Windows form of a path on this machine (Wine's Z: is /).
amino_windows_path() {
    local path
    path=$(realpath -m "$1")
    echo "Z:${path//\//\\}"
}
