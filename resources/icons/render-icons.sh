#!/bin/bash
# Regenerates every raster icon from aminokiselini.svg, so all sizes show the
# same picture. Run from anywhere; outputs land next to this script.
#
# Needs the Debian packages:
#   librsvg2-bin  (rsvg-convert)
#   imagemagick   (convert, identify; called from /usr/bin explicitly)
set -euo pipefail

cd "$(dirname "$0")"

RSVG=rsvg-convert
CONVERT=/usr/bin/convert
IDENTIFY=/usr/bin/identify
SRC=aminokiselini.svg
NAME=aminokiselini

command -v "$RSVG" >/dev/null || { echo "rsvg-convert missing (apt install librsvg2-bin)" >&2; exit 1; }
[ -x "$CONVERT" ] || { echo "$CONVERT missing (apt install imagemagick)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

render() { # size output
    "$RSVG" --width="$1" --height="$1" --keep-aspect-ratio --format=png \
        --output="$2" "$SRC"
}

# Full-colour PNGs (48 and up).
for size in 48 64 128 192 256 512; do
    render "$size" "$NAME-$size.png"
done

# 32 px: indexed PNG (colour type 3). No dithering, and the palette keeps a
# per-entry alpha (tRNS), so the anti-aliased outline stays smooth.
render 32 "$tmp/32.png"
"$CONVERT" "$tmp/32.png" +dither -colors 256 -type PaletteAlpha -strip \
    "$NAME-32.png"

# Byte 25 of a PNG is the IHDR colour type; 3 means palette.
ctype=$(od -An -tu1 -j25 -N1 "$NAME-32.png" | tr -d ' ')
if [ "$ctype" != 3 ]; then
    echo "$NAME-32.png: expected PNG colour type 3, got $ctype" >&2
    exit 1
fi
colours=$("$IDENTIFY" -format '%k' "$NAME-32.png")
if [ "$colours" -gt 256 ]; then
    echo "$NAME-32.png: $colours colours, more than 256" >&2
    exit 1
fi

# Windows icon with 16, 32, 48 and 256 px images.
for size in 16 32 48 256; do
    render "$size" "$tmp/ico-$size.png"
done
"$CONVERT" "$tmp/ico-16.png" "$tmp/ico-32.png" "$tmp/ico-48.png" \
    "$tmp/ico-256.png" "$NAME.ico"

ico_sizes=$("$IDENTIFY" -format '%w ' "$NAME.ico")
if [ "$ico_sizes" != "16 32 48 256 " ]; then
    echo "$NAME.ico: unexpected sizes: $ico_sizes" >&2
    exit 1
fi

echo "Rendered: $NAME-{32,48,64,128,192,256,512}.png $NAME.ico"
