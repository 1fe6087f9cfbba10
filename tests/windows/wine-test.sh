#!/usr/bin/env bash
# Runs one cross-built Qt Test suite under Wine and prints its results.
#   wine-test.sh PREFIX DLL-DIRS TEST.exe [TEST-ARGUMENTS...]
# DLL-DIRS: the folders of the DLLs the suite loads, separated by ':'.
# A Windows program's standard output does not reach this pipe, so the suite
# writes its results to a file, which is printed once it has ended.
# The suites run on the windows platform plugin, as the program does: Qt's
# offscreen plugin knows no Windows fonts (it looks in Qt's own lib/fonts).
# Wine passes no QT_* variable on, so it goes on the command line.
set -uo pipefail
prefix=$1
dll_dirs=$2
exe=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$prefix" "$dll_dirs" "$exe" "$@"
fi
. "$here/wine-env.sh"
amino_wine_prefix "$prefix" || exit 1

path=
IFS=: read -ra dirs <<<"$dll_dirs"
for dir in "${dirs[@]}"; do path+="$(amino_windows_path "$dir");"; done
export WINEPATH=$path

# A suite without Qt GUI has no application object to take the option.
platform=()
if x86_64-w64-mingw32-objdump -p "$exe" | grep -q 'DLL Name: Qt6Gui.dll'; then
    platform=(-platform windows)
fi

results=$(mktemp --suffix=.txt)
trap 'rm -f "$results"' EXIT
status=0
timeout 300 wine "$exe" "${platform[@]}" -o "$(amino_windows_path "$results"),txt" "$@" || status=$?
cat "$results"
[ "$status" -eq 124 ] && echo "FAIL: the suite did not end within 300 s" >&2
exit "$status"
