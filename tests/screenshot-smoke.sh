#!/usr/bin/env bash
# Starts the real program on a virtual X server, takes a screenshot and checks
# that the window has its size and colours on screen.
set -euo pipefail
binary=$1
here=$(cd "$(dirname "$0")/.." && pwd)
shot=$(mktemp --suffix=.png)
trap 'rm -f "$shot"' EXIT

"$here/scripts/screenshot" "$shot" "$binary" 0 >/dev/null

. "$here/tests/window-colours.sh"
expect_window_colours "$shot"
expect() { expect_pixel "$shot" "$@"; }
expect "list" 410 59 48,140,198 # row 0 selected: the style's highlight
# Лизин is selected: only "незаменими" is ticked, "с основен остатък" is chosen.
expect "заменими unticked" 23 44 255,255,255
expect "незаменими ticked" 23 68 41,41,41
expect "условнозаменими unticked" 23 92 255,255,255
expect "неполярен not chosen" 23 129 255,255,255
expect "основен chosen" 23 201 75,75,75
