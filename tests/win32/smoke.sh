#!/usr/bin/env bash
# Starts the Windows program under Wine, as a pupil would, and checks what
# the screen shows: the client area's size and colours, captions that fit,
# the classes of "Лизин" after a click on it, and status 0 once the window
# is closed.
#   smoke.sh PREFIX PROGRAM.exe [SCREENSHOT.png]
# PREFIX: a Wine prefix made by amino_wine_prefix (wine-env.sh). Runs on the
# current X display (scripts/windows gives it one).
set -euo pipefail
prefix=$1
program=$2
keep_shot=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
. "$here/../window-colours.sh"
. "$here/program-window.sh"
amino_wine_prefix "$prefix"

work=$(mktemp -d)
trap 'amino_stop; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
amino_start "$program"
shoot() { amino_shoot "$1"; }

# Counts from ImageMagick, checked to be counts: an error message in their
# place must fail the check, not pass it.
count_of() {
    [[ $1 =~ ^[0-9]+$ ]] || fail "ImageMagick did not count: $1"
    echo "$1"
}
# Pixels of a region (x y w h) that differ from the colour r,g,b.
ink() {
    count_of "$(/usr/bin/convert "$1" -crop "$4x$5+$2+$3" +repage -fill black +opaque "rgb($6)" \
        -fill white -opaque "rgb($6)" -format '%[fx:int(w*h*(1-mean)+0.5)]' info: 2>&1)"
}
# Pixels that differ between the same region (x y w h) of two pictures.
changed() {
    /usr/bin/convert "$1" -crop "$5x$6+$3+$4" +repage "PNG:$work/first.png"
    /usr/bin/convert "$2" -crop "$5x$6+$3+$4" +repage "PNG:$work/second.png"
    count_of "$(/usr/bin/compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1 || true)"
}

shoot "$work/before.png"
expect_window_colours "$work/before.png"

# A caption too wide for its control is cut at the control's edge: ink
# there means a clipped caption.
edge() { # what x y h colour
    local count
    count=$(ink "$work/before.png" "$2" "$3" 3 "$4" "$5")
    [ "$count" -eq 0 ] || fail "the caption of $1 reaches its right edge ($count pixels): clipped"
}
edge "the heading" 366 0 25 255,192,128
for i in 0 1 2; do edge "check box $i" 270 $((32 + 24 * i)) 25 128,255,128; done
for j in 0 1 2 3; do edge "option button $j" 294 $((120 + 24 * j)) 19 0,255,0; done
echo "ok: no caption reaches its control's edge"

# "Лизин", the first row: essential, with a basic residue.
xdotool mousemove --window "$amino_window" 340 58 click 1
sleep 1
shoot "$work/after.png"
[ -n "$keep_shot" ] && cp "$work/after.png" "$keep_shot"
indicator() { # what y h expected-change
    local count
    count=$(changed "$work/before.png" "$work/after.png" 16 "$2" 24 "$3")
    if [ "$4" = yes ] && [ "$count" -eq 0 ]; then fail "$1 did not change after the click"; fi
    if [ "$4" = no ] && [ "$count" -ne 0 ]; then fail "$1 changed after the click ($count pixels)"; fi
    echo "ok: $1 $([ "$4" = yes ] && echo set || echo "left clear")"
}
indicator "заменими" 32 25 no
indicator "незаменими" 56 25 yes
indicator "условнозаменими" 80 25 no
indicator "неполярен" 120 19 no
indicator "слабо полярен" 144 19 no
indicator "ациден" 168 19 no
indicator "основен" 192 19 yes

amino_close
