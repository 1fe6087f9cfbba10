#!/usr/bin/env bash
# The program on a Windows set to a High Contrast scheme (white text on
# black): the captions on the form's fixed light bands stay dark and
# readable, and the list and the lesson follow the scheme and read on it.
#   high-contrast.sh PREFIX ARCH PROGRAM.exe [SCREENSHOT.png]
# Runs on the current X display (scripts/windows gives it one).
set -euo pipefail
prefix=$1
arch=$2
program=$3
keep_shot=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
. "$here/program-window.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }

amino_wine_prefix "$prefix" win10 "$arch"
# Windows' "High Contrast Black": the colours every program reads from the
# system.
scheme=(
    "Window=0 0 0" "WindowText=255 255 255" "ButtonFace=0 0 0" "ButtonText=255 255 255"
    "Background=0 0 0" "Hilight=26 235 255" "HilightText=0 0 0" "GrayText=63 242 63"
    "InfoWindow=0 0 0" "InfoText=255 255 255" "Menu=0 0 0" "MenuText=255 255 255"
)
for colour in "${scheme[@]}"; do
    timeout 60 wine reg add 'HKCU\Control Panel\Colors' /v "${colour%%=*}" /t REG_SZ /d "${colour#*=}" /f \
        >/dev/null 2>&1 || fail "could not set the colour ${colour%%=*}"
done
timeout 60 wine reg add 'HKCU\Control Panel\Accessibility\HighContrast' /v Flags /t REG_SZ /d 127 /f \
    >/dev/null 2>&1
wineserver --wait

work=$(mktemp -d)
trap 'amino_stop; rm -rf "$work"' EXIT
amino_start "$program"
amino_shoot "$work/form.png"
[ -n "$keep_shot" ] && cp "$work/form.png" "$keep_shot"

# region: what x y width height, and the background it must have.
readable() {
    local seen background ink ratio
    seen=$("$here/contrast.py" "$work/form.png" "$2" "$3" "$4" "$5")
    read -r background ink ratio <<<"$seen"
    [ "$background" = "$6" ] || fail "$1: the background is $background, expected $6"
    python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) >= 4.5 else 1)" "$ratio" ||
        fail "$1: its text $ink on $background has a contrast of $ratio, below 4.5"
    echo "ok: $1: text $ink on $background, contrast $ratio"
}
readable "the heading" 64 0 305 25 255,192,128
for i in 0 1 2; do readable "check box $i" 16 $((32 + 24 * i)) 257 25 128,255,128; done
for j in 0 1 2 3; do readable "option button $j" 16 $((120 + 24 * j)) 281 19 0,255,0; done
# Inside the frames, left of the scroll bars: the scheme's own colours.
readable "the list" 322 50 95 133 0,0,0
readable "the lesson" 10 226 420 117 0,0,0
amino_close
