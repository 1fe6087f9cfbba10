# Sourced by the checks that read the window back from a screenshot of its
# client area.

# pixel PNG X Y: the colour there, as r,g,b.
pixel() {
    /usr/bin/convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# expect_pixel PNG WHAT X Y R,G,B: ends the check unless the pixel has that colour.
expect_pixel() {
    local seen
    seen=$(pixel "$1" "$3" "$4")
    if [ "$seen" != "$5" ]; then
        echo "FAIL: $2 at ($3,$4) is $seen, expected $5" >&2
        exit 1
    fi
    echo "ok: $2 $5"
}

# expect_window_colours PNG: the client area's size and its fixed colours.
expect_window_colours() {
    local size
    size=$(/usr/bin/identify -format '%wx%h' "$1")
    if [ "$size" != 461x351 ]; then
        echo "FAIL: the client area is $size, expected 461x351" >&2
        exit 1
    fi
    echo "ok: client area $size"
    expect_pixel "$1" "window background" 455 20 192,192,255
    expect_pixel "$1" "heading" 366 12 255,192,128
    expect_pixel "$1" "check box" 270 44 128,255,128
    expect_pixel "$1" "option button" 294 129 0,255,0
}
