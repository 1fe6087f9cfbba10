#!/usr/bin/env bash
# Runs a cross-built Windows program (a test suite) under Wine, in a prefix
# made as a school's Windows would be, and hands on its output and status.
#   wine-run.sh PREFIX ARCH WINDOWS-VERSION PROGRAM.exe [ARGUMENTS...]
# ARCH: win32 or win64, the prefix's; WINDOWS-VERSION: win7, win10...
# Runs on the current X display, or on a new Xvfb when there is none.
set -uo pipefail
prefix=$1
arch=$2
version=$3
exe=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -nolisten local" "$0" "$prefix" "$arch" "$version" "$exe" "$@"
fi
. "$here/wine-env.sh"
amino_wine_prefix "$prefix" "$version" "$arch" || exit 1
status=0
timeout 300 wine "$exe" "$@" || status=$?
[ "$status" -eq 124 ] && echo "FAIL: $(basename "$exe") did not end within 300 s" >&2
exit "$status"
