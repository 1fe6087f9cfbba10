#!/usr/bin/env bash
# Starts the program on the current X display, waits for its window, asks the
# window to close as a window manager would, and expects the program to quit
# by itself with status 0.
#
# Usage: run-and-close.sh PROGRAM CLOSE-WINDOW-SCRIPT
set -euo pipefail

program=$1
close_window=$2

# On this X server, whatever platform the caller's environment asks Qt for.
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
"$program" &
pid=$!
cleanup() { kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null; true; }
trap cleanup EXIT

window=
for _ in $(seq 100); do
    # By process, not by title: xdotool cannot match a Cyrillic title outside
    # a UTF-8 locale, and CI may run without one.
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if [ -z "$window" ]; then
    if kill -0 "$pid" 2>/dev/null; then
        echo "FAIL: no window of the program appeared within 20 s" >&2
    else
        status=0
        wait "$pid" || status=$?
        echo "FAIL: the program quit with status $status before showing its window" >&2
    fi
    exit 1
fi

# A program that quits on its own would pass the check below for the wrong
# reason: it must still be running now.
sleep 0.5
if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    echo "FAIL: the program quit (status $status) before its window was closed" >&2
    exit 1
fi

/usr/bin/python3 "$close_window" "$window" || {
    echo "FAIL: could not send the close request to window $window" >&2
    exit 1
}

for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: the program still runs 10 s after its window was closed" >&2
    exit 1
fi
status=0
wait "$pid" || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL: the program quit with status $status after its window was closed" >&2
    exit 1
fi
echo "The program opened its window and quit with status 0 when it was closed."
