#!/usr/bin/env bash
# The installer's round trip as an IT person rolls it out to a lab: a silent
# per-machine install on a clean Windows, the program started from Program
# Files, then a silent uninstall that leaves nothing behind.
#   installer.sh PREFIX SETUP.exe
set -euo pipefail
prefix=$1
setup=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$setup" ] || fail "no $setup: make it with cpack first (scripts/windows does)"

# A clean machine every time.
rm -rf "$prefix"
amino_wine_prefix "$prefix"
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Аминокиселини"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Аминокиселини"
key='Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\aminokiselini'
registered() { wineserver --wait; grep -qF "[$key]" "$WINEPREFIX/system.reg"; }

timeout 120 wine "$setup" /S || fail "the silent install failed"
wineserver --wait
for file in aminokiselini.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll libstdc++-6.dll Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "the install left out $file"
done
echo "ok: installed under Program Files"
[ -f "$menu/Аминокиселини.lnk" ] || fail "no Start-menu entry: $(ls "$menu" 2>&1)"
echo "ok: Start-menu entry Аминокиселини"
registered || fail "not listed among the installed programs"
echo "ok: listed among the installed programs"

"$here/smoke.sh" "$prefix" "$folder/aminokiselini.exe"

# The uninstaller hands over to a copy of itself and returns at once;
# wineserver --wait sees both through.
timeout 120 wine "$folder/Uninstall.exe" /S || fail "the silent uninstall failed"
wineserver --wait
[ ! -e "$folder" ] || fail "the uninstall left $(cd "$folder" && find . -mindepth 1 | head -n 5 | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "the uninstall left the Start-menu folder"
! registered || fail "still listed among the installed programs after the uninstall"
echo "ok: the silent uninstall removed the program, its menu entry and its listing"
