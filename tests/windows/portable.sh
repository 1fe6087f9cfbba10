#!/usr/bin/env bash
# The portable zip, unpacked anywhere (a USB stick), runs by itself: nothing
# but what it holds is on the program's DLL search path.
#   portable.sh PREFIX ZIP [SCREENSHOT.png]
set -euo pipefail
prefix=$1
zip=$2
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$zip" ] || { echo "FAIL: no $zip: make it with cpack first (scripts/windows does)" >&2; exit 1; }
stick=$(mktemp -d)
trap 'rm -rf "$stick"' EXIT
unzip -q "$zip" -d "$stick"
folder=$stick/$(basename "$zip" .zip)
[ -f "$folder/aminokiselini.exe" ] || { echo "FAIL: the zip has no $(basename "$zip" .zip)/aminokiselini.exe" >&2; exit 1; }
unset WINEPATH
exec "$here/smoke.sh" "$prefix" "$folder/aminokiselini.exe" "${3:-}"
