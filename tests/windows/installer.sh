#!/usr/bin/env bash
# An installer's round trip as an IT person rolls it out to a lab, silently,
# on a fresh Wine prefix: refused on Windows 7 without a trace; installed on
# Windows 10 (files, Start-menu entry, one entry among the installed
# programs, the program itself from Program Files); for NSIS, installed again
# over itself and refused while the program runs; a higher version over it,
# leaving one copy; for the MSI, an older version over that refused; then a
# silent uninstall that leaves nothing behind.
#   installer.sh nsis|msi PREFIX PACKAGE NEXT-PACKAGE
# NEXT-PACKAGE: the same kind of package, of a higher version.
set -euo pipefail
kind=$1
prefix=$2
package=$3
next=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
for file in "$package" "$next"; do
    [ -f "$file" ] || fail "no $file: make it with cpack first (scripts/windows does)"
done
name=Аминокиселини
version=$(basename "$package" | sed -n 's/^aminokiselini-\([0-9.]*[0-9]\)-.*/\1/p')
next_version=$(basename "$next" | sed -n 's/^aminokiselini-\([0-9.]*[0-9]\)-.*/\1/p')

# Silent installs, as a deployment tool runs them; the exit code is the
# installer's (Wine hands on its lowest 8 bits: 1603 arrives as 67).
install() {
    local status=0
    case $kind in
        nsis) timeout 120 wine "$1" /S || status=$? ;;
        msi) timeout 120 wine msiexec /i "$(amino_windows_path "$1")" /qn || status=$? ;;
    esac
    wineserver --wait
    return "$status"
}

# A clean machine every time, first with a Windows too old for Qt 6.
rm -rf "$prefix"
amino_wine_prefix "$prefix" win7
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/$name"
status=0
install "$package" || status=$?
[ "$status" -ne 0 ] || fail "installed on Windows 7 without complaint"
[ ! -e "$folder" ] || fail "the refused install on Windows 7 left $folder"
[ -z "$(amino_installed_programs)" ] || fail "the refused install on Windows 7 is listed: $(amino_installed_programs)"
echo "ok: refused on Windows 7 (exit code $status), nothing installed"
amino_wine_prefix "$prefix" win10

# What one installed copy looks like, at a version.
start_menu_entries() {
    find "$drive/ProgramData/Microsoft/Windows/Start Menu" "$drive/users" -name "$name.lnk" 2>/dev/null
}
expect_one_copy() { # version what
    for file in aminokiselini.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll \
        styles/qwindowsvistastyle.dll libstdc++-6.dll COPYING.txt; do
        [ -f "$folder/$file" ] || fail "$2: the install left out $file"
    done
    local entries
    entries=$(amino_installed_programs)
    [ "$(printf '%s\n' "$entries" | awk -F '\t' -v name="$name" '$2 == name' | wc -l)" -eq 1 ] ||
        fail "$2: not listed once as $name among the installed programs: ${entries:-nothing}"
    printf '%s\n' "$entries" | awk -F '\t' -v name="$name" -v version="$1" '$2 == name && $3 == version' | grep -q . ||
        fail "$2: listed at another version than $1: $entries"
    local menu
    menu=$(start_menu_entries)
    [ "$(printf '%s' "$menu" | grep -c .)" -eq 1 ] || fail "$2: not one Start-menu entry $name: ${menu:-none}"
    # A shell link names its target's folders and file in UTF-16, at odd
    # offsets as well as even ones.
    local link
    link=$({ iconv -f UTF-16LE -t UTF-8 -c <"$menu"; tail -c +2 "$menu" | iconv -f UTF-16LE -t UTF-8 -c; } 2>/dev/null |
        tr -d '\0' || true)
    grep -aq "$name" <<<"$link" && grep -aq aminokiselini.exe <<<"$link" ||
        fail "$2: the Start-menu entry does not start $name\\aminokiselini.exe"
    echo "ok: $2: one copy $1 under Program Files, one Start-menu entry, listed once as $name $1"
}

install "$package" || fail "the silent install failed"
expect_one_copy "$version" "installed"
if [ "$kind" = nsis ]; then
    install "$package" || fail "the second silent install failed"
    expect_one_copy "$version" "installed twice"
fi

"$here/smoke.sh" "$prefix" "$folder/aminokiselini.exe"

if [ "$kind" = nsis ]; then
    # While the program runs its files cannot be replaced: the installer
    # must stop before it changes anything.
    files() { (cd "$folder" && find . -type f -printf '%p %s %T@\n' | LC_ALL=C sort); }
    before=$(files)
    wine "$folder/aminokiselini.exe" >/dev/null 2>&1 &
    running=$!
    for _ in $(seq 300); do
        xdotool search --onlyvisible --class aminokiselini >/dev/null 2>&1 && break
        kill -0 "$running" 2>/dev/null || fail "the program quit before showing its window"
        sleep 0.2
    done
    # (Not install: its wineserver --wait would wait for the program too.)
    status=0
    timeout 120 wine "$next" /S || status=$?
    kill "$running" 2>/dev/null || true
    wineserver --kill 2>/dev/null || true
    wait "$running" 2>/dev/null || true
    [ "$status" -ne 0 ] || fail "a silent install over the running program succeeded"
    [ "$(files)" = "$before" ] || fail "the install refused over the running program changed its files"
    expect_one_copy "$version" "refused while the program runs (exit code $status)"
fi

install "$next" || fail "the silent install of $next_version over $version failed"
expect_one_copy "$next_version" "$next_version over $version"

if [ "$kind" = msi ]; then
    status=0
    install "$package" || status=$?
    [ "$status" -ne 0 ] || fail "the older $version installed over $next_version without complaint"
    expect_one_copy "$next_version" "$version over $next_version refused (exit code $status)"
fi

# The uninstall command an IT person gives: the NSIS uninstaller hands over
# to a copy of itself and returns at once (wineserver --wait sees both
# through); the MSI is removed by its product code, its key in the list.
case $kind in
    nsis) timeout 120 wine "$folder/Uninstall.exe" /S || fail "the silent uninstall failed" ;;
    msi)
        code=$(amino_installed_programs | awk -F '\t' -v name="$name" '$2 == name { print $1 }')
        timeout 120 wine msiexec /x "$code" /qn || fail "the silent uninstall (msiexec /x $code /qn) failed"
        ;;
esac
wineserver --wait
[ ! -e "$folder" ] || fail "the uninstall left $(cd "$folder" && find . -mindepth 1 | head -n 5 | tr '\n' ' ')"
[ -z "$(start_menu_entries)" ] || fail "the uninstall left the Start-menu entry $(start_menu_entries)"
[ ! -e "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/$name" ] || fail "the uninstall left the Start-menu folder"
[ -z "$(amino_installed_programs)" ] || fail "still listed after the uninstall: $(amino_installed_programs)"
echo "ok: the silent uninstall removed the program, its menu entry and its listing"
