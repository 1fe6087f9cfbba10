# Sourced by the Windows checks: a Wine prefix set up as a school's Windows
# machine would be for the program, on the current X display.
#   amino_wine_prefix PREFIX [WINDOWS-VERSION]
# With a version (win7, win81, win10...) the prefix, new or not, becomes
# that version; a new one is otherwise Wine's own default (Debian's Wine:
# Windows 7, on which the suites have always run).
# Needs DISPLAY: Wine draws even offscreen programs' windows through X.

# Wine turns Windows file names into this machine's through the locale's
# character set: under C or POSIX (no LANG at all) it cannot make the
# Cyrillic folders. Whatever the caller has, a UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qix 'c\.utf-\?8'; then
    echo "FAIL: this machine has no C.UTF-8 locale (Debian's libc-bin has it)" >&2
    return 1
fi
export LC_ALL=C.UTF-8

export WINEDEBUG=${WINEDEBUG:--all}
# Wine's Mono and Gecko installers would ask to download; the program needs
# neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps the caller's QT_* variables from Windows programs by itself.
unset WAYLAND_DISPLAY

amino_wine_prefix() {
    export WINEPREFIX=$1
    local version=${2:-} arch=${3:-}
    if [ -z "${DISPLAY:-}" ]; then
        echo "FAIL: no X display; run under xvfb-run (scripts/windows does)" >&2
        return 1
    fi
    local ready=$WINEPREFIX/.aminokiselini-ready
    if [ -f "$ready" ]; then
        if [ -n "$version" ] && [ "$(cat "$ready")" != "$version" ]; then
            timeout 60 wine winecfg /v "$version" >/dev/null 2>&1 ||
                { echo "FAIL: Wine cannot be set to $version in $WINEPREFIX" >&2; return 1; }
            timeout 60 wineserver --wait
            echo "$version" >"$ready"
        fi
        return 0
    fi
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # A prefix's architecture is chosen when it is made: win32 has no 64-bit
    # part at all, as on a 32-bit Windows.
    if [ -n "$arch" ]; then export WINEARCH=$arch; else unset WINEARCH; fi
    timeout 180 wineboot --init >/dev/null 2>&1 || { echo "FAIL: wineboot could not make $WINEPREFIX" >&2; return 1; }
    if [ -n "$version" ]; then
        timeout 60 wine winecfg /v "$version" >/dev/null 2>&1 ||
            { echo "FAIL: Wine cannot be set to $version in $WINEPREFIX" >&2; return 1; }
    fi
    # Windows has Times New Roman, Wine does not: let the metric-compatible
    # Liberation Serif (which Wine finds through fontconfig) answer for it,
    # so that the captions are laid out as on Windows.
    timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif' /f >/dev/null 2>&1
    timeout 60 wineserver --wait
    echo "${version:-default}" >"$ready"
}

# The programs Windows lists as installed (Settings, Apps), one a line: key,
# display name and version, tab-separated. Read from the registry's file,
# where Wine writes non-ASCII letters as escapes (\x410 for А).
amino_installed_programs() {
    wineserver --wait
    python3 - "$WINEPREFIX/system.reg" <<'PYTHON'
import re, sys
# Both registry views: a 32-bit installer on 64-bit Windows writes its
# entry under Wow6432Node, and Windows lists both.
views = ("[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\",
         "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\")
def unescape(text):
    return re.sub(r"\\x([0-9a-fA-F]{1,4})|\\(.)",
                  lambda m: chr(int(m.group(1), 16)) if m.group(1) else m.group(2), text)
programs, key = {}, None
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    line = line.rstrip("\n")
    if line.startswith("["):
        view = next((view for view in views if line.startswith(view)), None)
        name = line[len(view):line.find("]")] if view else "\\"
        # The same key in both views is two entries.
        key = None if "\\" in name else (view, unescape(name))
        if key is not None:
            programs[key] = {}
        continue
    match = re.match(r'"(DisplayName|DisplayVersion)"="(.*)"$', line)
    if key is not None and match:
        programs[key][match.group(1)] = unescape(match.group(2))
for (view, key), values in sorted(programs.items()):
    if "DisplayName" in values:
        print(key, values["DisplayName"], values.get("DisplayVersion", ""), sep="\t")
PYTHON
}

# The Windows form of a path on this machine (Wine's Z: is /).
amino_windows_path() {
    local path
    path=$(realpath -m "$1")
    echo "Z:${path//\//\\}"
}
