#!/usr/bin/python3
"""How well text reads in a region of a picture.

Usage: contrast.py PNG X Y WIDTH HEIGHT

Prints the region's background (its commonest colour), its ink (the colour
that stands out most from it) and the contrast ratio between the two, as
accessibility guidelines measure it: from 1 (the same) to 21 (black on
white).
"""

import collections
import subprocess
import sys


def luminance(colour):
    def linear(channel):
        value = channel / 255
        return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4

    red, green, blue = (linear(channel) for channel in colour)
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue


def contrast(first, second):
    lighter, darker = sorted((luminance(first), luminance(second)), reverse=True)
    return (lighter + 0.05) / (darker + 0.05)


def main() -> int:
    if len(sys.argv) != 6:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    png, x, y, width, height = sys.argv[1:]
    ppm = subprocess.run(
        ["/usr/bin/convert", png, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"],
        check=True, capture_output=True).stdout
    # Binary PPM: "P6", width, height, maximum value, then the pixels.
    fields = ppm.split(maxsplit=4)
    pixels = fields[4]
    colours = [tuple(pixels[i:i + 3]) for i in range(0, len(pixels) - 2, 3)]
    background = collections.Counter(colours).most_common(1)[0][0]
    ink = max(colours, key=lambda colour: contrast(colour, background))
    print("%d,%d,%d %d,%d,%d %.2f" % (*background, *ink, contrast(ink, background)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
