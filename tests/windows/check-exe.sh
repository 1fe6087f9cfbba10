#!/usr/bin/env bash
# What Windows reads from the program's file itself: a GUI program (no console
# window opens with it), the hamburger icon Explorer shows, and the version
# details of its Properties sheet.
#   check-exe.sh PROGRAM.exe ICON.ico VERSION
set -euo pipefail
exe=$1
ico=$2
version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

subsystem=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^Subsystem[[:space:]]*//p')
[[ $subsystem == *"(Windows GUI)"* ]] || fail "subsystem is '$subsystem', expected Windows GUI"
echo "ok: subsystem $subsystem"

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
strings -el "$work/version.res" >"$work/version.txt"
for field in FileVersion ProductVersion; do
    value=$(grep -A1 -x "$field" "$work/version.txt" | tail -n 1)
    [ "$value" = "$version" ] || fail "$field is '$value', expected $version"
done
grep -qx "Аминокиселини" <(iconv -f UTF-16LE -t UTF-8 "$work/version.res" | tr '\0' '\n' | tr -d "\001-\011\013-\037") ||
    fail "the version details do not name the program"
echo "ok: version details $version"
