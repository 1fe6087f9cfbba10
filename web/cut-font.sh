#!/bin/sh
# Cuts the page's serif down to the characters the page draws, packed as
# WOFF2, and puts the font's licence beside it.
#   cut-font.sh PYFTSUBSET FONT.ttf DEBIAN-COPYRIGHT DRAWN-TEXT OUT-DIR
set -eu
pyftsubset=$1
font=$2
copyright=$3
text=$4
out=$5
mkdir -p "$out"
name=$(basename "$font" .ttf)
"$pyftsubset" "$font" --text-file="$text" --flavor=woff2 \
    --output-file="$out/$name.woff2"
# The font's own paragraph of the package's copyright file: its copyright
# lines and the SIL Open Font License, without Debian's field layout.
sed -n '/^Files: \*$/,/^$/p' "$copyright" | sed -e '1d' -e 's/^Copyright:$/Copyright/' \
    -e 's/^License: .*//' -e 's/^ \.$//' -e 's/^ //' >"$out/${name%-*}-LICENSE.txt"
grep -q 'SIL OPEN FONT LICENSE Version 1.1' "$out/${name%-*}-LICENSE.txt"
