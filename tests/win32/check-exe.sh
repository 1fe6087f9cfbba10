#!/usr/bin/env bash
# What Windows reads from the program's file itself, as the zip hands it
# out: a GUI program for the processor it is built for, movable, with no
# code run from its data and terminal-server aware, no larger than its goal,
# that needs nothing but Windows' own DLLs and no function Windows 7 lacks,
# with the hamburger icon Explorer shows and the version details of its
# Properties sheet.
#   check-exe.sh ZIP ICON.ico VERSION MACHINE
# MACHINE: i386 or x86-64, as objdump names the file's format (pei-MACHINE).
set -euo pipefail
zip=$1
ico=$2
version=$3
machine=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -f "$zip" ] || fail "no $zip: make it with cpack first (scripts/windows does)"
unzip -q -j "$zip" '*/aminokiselini.exe' -d "$work"
exe=$work/aminokiselini.exe
objdump=x86_64-w64-mingw32-objdump

headers=$("$objdump" -p "$exe")
format=$("$objdump" -f "$exe" | sed -n 's/.*file format //p')
[ "$format" = "pei-$machine" ] || fail "the file's format is $format, expected pei-$machine"
subsystem=$(sed -n 's/^Subsystem[[:space:]]*//p' <<<"$headers")
[[ $subsystem == *"(Windows GUI)"* ]] || fail "subsystem is '$subsystem', expected Windows GUI"
echo "ok: $format, subsystem $subsystem"

# Loaded at a random address (which needs its relocations kept), its data
# never run as code, and no compatibility redirections on a terminal server
# (a lab's Remote Desktop or MultiPoint host).
flags=$(sed -n '/^DllCharacteristics/,/^[^[:space:]]/{/^[[:space:]]/p}' <<<"$headers" |
    tr -d '[:blank:]' | paste -s -d ' ')
for flag in DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
    [[ " $flags " == *" $flag "* ]] || fail "the file is not marked $flag (it has: ${flags:-none})"
done
grep -q '^Entry 5 [0-9a-f]* 0*[1-9a-f][0-9a-f]* Base Relocation Directory' <<<"$headers" ||
    fail "the file has no relocations, so Windows cannot move it despite DYNAMIC_BASE"
echo "ok: marked $flags, with relocations"

# 200 KB (10^3 bytes) at most.
bytes=$(stat -c %s "$exe")
[ "$bytes" -le 200000 ] || fail "the program is $bytes bytes, over its 200 KB goal"
echo "ok: $bytes bytes"

# Every DLL it loads is one that every Windows from 7 on has; no compiler
# runtime beside it.
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
for dll in $dlls; do
    case $dll in
        kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | ole32.dll | oleacc.dll | oleaut32.dll | msvcrt.dll) ;;
        *) fail "the program loads $dll, which is not Windows' own" ;;
    esac
done
echo "ok: loads only $dlls"
# Calls newer than Windows 7 are looked up at run time; imported, they would
# keep the program from starting there at all.
for newer in GetDpiForWindow AdjustWindowRectExForDpi GetDpiForSystem SetThreadDpiAwarenessContext \
    GetSystemMetricsForDpi SystemParametersInfoForDpi EnableNonClientDpiScaling; do
    ! grep -qw "$newer" <<<"$headers" || fail "the program imports $newer, which Windows 7 lacks"
done
echo "ok: imports nothing newer than Windows 7"

# The manifest asks for visual styles, dpi awareness per monitor and the
# Windows versions it is made for (type 24, id 1).
wrestool -x --raw --type=24 --name=1 "$exe" >"$work/manifest.xml"
for part in Microsoft.Windows.Common-Controls PerMonitorV2 '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' \
    '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    grep -qF "$part" "$work/manifest.xml" || fail "the manifest lacks $part"
done
echo "ok: manifest"

# Type 14 is the icon group; wrestool rebuilds an .ico file from it, laid
# out its own way: compare the pictures, not the bytes.
mkdir "$work/carried" "$work/drawn"
wrestool -x --type=14 "$exe" >"$work/carried/icon.ico"
[ -s "$work/carried/icon.ico" ] || fail "the file carries no icon"
cp "$ico" "$work/drawn/icon.ico"
for dir in carried drawn; do
    icotool -x -o "$work/$dir" "$work/$dir/icon.ico"
    rm "$work/$dir/icon.ico"
done
[ "$(ls "$work/carried")" = "$(ls "$work/drawn")" ] ||
    fail "the file's icon has the sizes $(ls "$work/carried" | tr '\n' ' '), ${ico##*/} has $(ls "$work/drawn" | tr '\n' ' ')"
for picture in "$work/drawn"/*.png; do
    differ=$(/usr/bin/compare -metric AE "$picture" "$work/carried/${picture##*/}" null: 2>&1) || true
    [ "$differ" = 0 ] || fail "the file's icon differs from ${ico##*/} in ${picture##*/} ($differ pixels)"
done
echo "ok: icon is ${ico##*/} ($(ls "$work/drawn" | wc -l) sizes)"

# Type 16 is the version resource; its strings are UTF-16.
wrestool -x --raw --type=16 "$exe" >"$work/version.res"
x86_64-w64-mingw32-strings -el "$work/version.res" >"$work/version.txt"
for field in FileVersion ProductVersion; do
    value=$(grep -A1 -x "$field" "$work/version.txt" | tail -n 1)
    [ "$value" = "$version" ] || fail "$field is '$value', expected $version"
done
grep -qx "Аминокиселини" <(iconv -f UTF-16LE -t UTF-8 "$work/version.res" | tr '\0' '\n' | tr -d "\001-\011\013-\037") ||
    fail "the version details do not name the program"
echo "ok: version details $version"
