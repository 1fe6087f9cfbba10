#!/usr/bin/env bash
# Starts the real program on a virtual X server, takes a screenshot and checks
# that the window has its size and colours on screen.
set -euo pipefail
binary=$1
here=$(cd "$(dirname "$0")/.." && pwd)
shot=$(mktemp --suffix=.png)
trap 'rm -f "$shot"' EXIT

"$here/scripts/screenshot" "$shot" "$binary" 0 >/dev/null

pixel() { /usr/bin/convert "$shot" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
expect() { # what x y colour
    local seen
    seen=$(pixel "$2" "$3")
    if [ "$seen" != "$4" ]; then
        echo "FAIL: $1 at ($2,$3) is $seen, expected $4" >&2
        exit 1
    fi
    echo "ok: $1 $4"
}

size=$(/usr/bin/identify -format '%wx%h' "$shot")
[ "$size" = 461x351 ] || { echo "FAIL: window is $size, expected 461x351" >&2; exit 1; }
echo "ok: size $size"
expect "window background" 455 20 192,192,255
expect "heading" 366 12 255,192,128
expect "check box" 270 44 128,255,128
expect "option button" 294 129 0,255,0
expect "list" 410 59 48,140,198 # row 0 selected: the style's highlight
# Лизин is selected: only "незаменими" is ticked, "с основен остатък" is chosen.
expect "заменими unticked" 23 44 255,255,255
expect "незаменими ticked" 23 68 41,41,41
expect "условнозаменими unticked" 23 92 255,255,255
expect "неполярен not chosen" 23 129 255,255,255
expect "основен chosen" 23 201 75,75,75
