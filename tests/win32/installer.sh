#!/usr/bin/env bash
# An installer's round trip as an IT person rolls it out to a lab, silently,
# on a fresh Wine prefix: refused on a Windows older than 7 without a trace;
# installed on a supported one (files, Start-menu entry, one entry among the
# installed programs, the program itself from Program Files); for NSIS,
# installed again over itself and refused while the program runs; a higher
# version over it, leaving one copy; for the MSI, an older version over that
# refused; then a silent uninstall that leaves nothing behind.
#   installer.sh nsis|msi ARCH TOO-OLD VERSION PREFIX PACKAGE NEXT-PACKAGE
# ARCH: win32 or win64, the prefix's; TOO-OLD, VERSION: Windows versions as
# winecfg names them (winxp, vista; win7, win10). NEXT-PACKAGE: the same
# kind of package, of a higher version.
set -euo pipefail
kind=$1
arch=$2
too_old=$3
windows=$4
prefix=$5
package=$6
next=$7
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
. "$here/program-window.sh"
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

# A clean machine every time, first with a Windows too old.
rm -rf "$prefix"
amino_wine_prefix "$prefix" "$too_old" "$arch"
drive=$WINEPREFIX/drive_c
# Wherever Windows puts it: Program Files, or its 32-bit twin on 64-bit Windows.
installed_folders() { find "$drive" -maxdepth 2 -path "$drive/Program Files*/$name" 2>/dev/null; }
status=0
install "$package" || status=$?
[ "$status" -ne 0 ] || fail "installed on $too_old without complaint"
[ -z "$(installed_folders)" ] || fail "the refused install on $too_old left $(installed_folders)"
[ -z "$(amino_installed_programs)" ] || fail "the refused install on $too_old is listed: $(amino_installed_programs)"
echo "ok: refused on $too_old (exit code $status), nothing installed"
amino_wine_prefix "$prefix" "$windows"

# What one installed copy looks like, at a version.
start_menu_entries() {
    find "$drive/ProgramData/Microsoft/Windows/Start Menu" "$drive/users" -name "$name.lnk" 2>/dev/null
}
expect_one_copy() { # version what
    local folders
    folders=$(installed_folders)
    [ "$(printf '%s' "$folders" | grep -c .)" -eq 1 ] || fail "$2: not one folder $name: ${folders:-none}"
    folder=$folders
    local expected="./COPYING.txt ./aminokiselini.exe "
    [ "$kind" = nsis ] && expected="./COPYING.txt ./Uninstall.exe ./aminokiselini.exe "
    local files
    files=$(cd "$folder" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
    [ "$files" = "$expected" ] || fail "$2: $folder holds $files, expected $expected"
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
    echo "ok: $2: one copy $1 in ${folder#"$drive/"}, one Start-menu entry, listed once as $name $1"
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
    trap amino_stop EXIT
    amino_start "$folder/aminokiselini.exe"
    # (Not install: its wineserver --wait would wait for the program too.)
    status=0
    timeout 120 wine "$next" /S || status=$?
    amino_stop
    trap - EXIT
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
