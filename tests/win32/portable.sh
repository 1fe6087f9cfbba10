#!/usr/bin/env bash
# The portable zip, unpacked anywhere (a USB stick), runs by itself: nothing
# but what it holds is on the program's DLL search path.
#   portable.sh PREFIX ARCH WINDOWS-VERSION ZIP [SCREENSHOT.png]
set -euo pipefail
prefix=$1
arch=$2
version=$3
zip=$4
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$zip" ] || { echo "FAIL: no $zip: make it with cpack first (scripts/windows does)" >&2; exit 1; }
stick=$(mktemp -d)
trap 'rm -rf "$stick"' EXIT
unzip -q "$zip" -d "$stick"
folder=$stick/$(basename "$zip" .zip)
[ "$(cd "$folder" && find . -type f | LC_ALL=C sort | tr '\n' ' ')" = "./COPYING.txt ./aminokiselini.exe " ] ||
    { echo "FAIL: the zip holds $(cd "$stick" && find . -type f | tr '\n' ' '), not the program and COPYING.txt in one folder" >&2; exit 1; }
unset WINEPATH
. "$here/wine-env.sh"
amino_wine_prefix "$prefix" "$version" "$arch"
"$here/smoke.sh" "$prefix" "$folder/aminokiselini.exe" "${5:-}"
