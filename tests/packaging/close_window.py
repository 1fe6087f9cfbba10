#!/usr/bin/python3
"""Asks an X window to close, as a window manager's close button does.

Usage: close_window.py WINDOW-ID

Sends the ICCCM WM_DELETE_WINDOW message, so the program sees an ordinary
close request and may quit the way it would for a user. (xdotool windowclose
destroys the window instead, and the program never gets to close it.)
"""

import sys

from Xlib import X, display
from Xlib.protocol import event


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    window_id = int(sys.argv[1], 0)

    dpy = display.Display()
    window = dpy.create_resource_object("window", window_id)
    wm_protocols = dpy.intern_atom("WM_PROTOCOLS")
    wm_delete_window = dpy.intern_atom("WM_DELETE_WINDOW")

    # A window that never said it understands the message would not act on it.
    protocols = window.get_wm_protocols() or []
    if wm_delete_window not in protocols:
        print(f"window {window_id:#x} does not take WM_DELETE_WINDOW", file=sys.stderr)
        return 1

    message = event.ClientMessage(
        window=window,
        client_type=wm_protocols,
        data=(32, [wm_delete_window, X.CurrentTime, 0, 0, 0]),
    )
    window.send_event(message, event_mask=X.NoEventMask)
    dpy.sync()
    return 0


if __name__ == "__main__":
    sys.exit(main())
