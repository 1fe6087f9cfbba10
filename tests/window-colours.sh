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

window_form=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/expected_form.json

# The client area's size and its fixed colours as the expected form writes
# them, which every face's suite reads: "WIDTHxHEIGHT WINDOW HEADING CHECK OPTION".
expected_window() {
    /usr/bin/python3 - "$window_form" <<'PYTHON'
import json
import sys

with open(sys.argv[1], encoding="utf-8") as f:
    form = json.load(f)
colours = {control["name"]: control.get("colour") for control in form["controls"]}
colours["window"] = form["windowColour"]
print("x".join(map(str, form["client"])),
      *(",".join(map(str, colours[name])) for name in ("window", "Label1_0", "Check1_0", "Option1_0")))
PYTHON
}

# expect_window_colours PNG: the client area's size and its fixed colours.
expect_window_colours() {
    local size want window heading check option
    read -r want window heading check option <<<"$(expected_window)"
    [ -n "$option" ] || { echo "FAIL: could not read the expected form" >&2; exit 1; }
    size=$(/usr/bin/identify -format '%wx%h' "$1")
    if [ "$size" != "$want" ]; then
        echo "FAIL: the client area is $size, expected $want" >&2
        exit 1
    fi
    echo "ok: client area $size"
    expect_pixel "$1" "window background" 455 20 "$window"
    expect_pixel "$1" "heading" 366 12 "$heading"
    expect_pixel "$1" "check box" 270 44 "$check"
    expect_pixel "$1" "option button" 294 129 "$option"
}
