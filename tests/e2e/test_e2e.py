#!/usr/bin/python3
"""End-to-end test of the real window, seen the way a pupil and a screen
reader see it: real X input from xdotool, answers read back over AT-SPI.

Run it through run-e2e.sh, which gives it a private X server and a private
D-Bus session; it needs the system Python, where pyatspi and Xlib live.

usage: test_e2e.py PATH-TO-aminokiselini
"""

import os
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

import pyatspi  # noqa: E402
from Xlib import X, Xatom, display, protocol  # noqa: E402

TITLE = "aminokiselini.example  Химия - незаменими аминокиселини"
HEADING = "Вид аминокиселини и остатък"
CHECK_NAMES = [
    "заменими аминокиселини",
    "незаменими аминокиселини",
    "условнозаменими аминокиселини",
]
OPTION_NAMES = [
    "неутрални с неполярен остатък",
    "неутрални със слабо полярен остатък",
    "с ациден остатък",
    "с основен остатък",
]
LIST_NAME = "Аминокиселини"
TEXT_NAME = "Обяснение"
CLIENT_SIZE = (461, 351)

# What the pupil must see, written out here rather than read from the
# program, so that a wrong entry in the program's table shows up.
ROWS = [
    "Лизин", "Триптофан", "Левцин", "Треонин", "Метионин", "Валин",
    "Фенилаланин", "Изолевцин", "Хистидин", "Аланин", "Аспартат", "Глутамат",
    "Аргинин", "Аспарагин", "Цистеин", "Глутамин", "Глицин", "Пролин",
    "Тирозин", "Серин",
]
# row -> (nutrition code, residue code) for the rows the test visits
CLASSES = {
    0: (1, 3),   # Лизин: essential, basic
    1: (1, 1),   # Триптофан: essential, weakly polar
    9: (0, 0),   # Аланин: non-essential, non-polar
    10: (0, 2),  # Аспартат: non-essential, acidic
    12: (2, 3),  # Аргинин: conditionally essential, basic
    19: (2, 1),  # Серин: conditionally essential, weakly polar
}

# Window-relative rectangles in pixels at 96 dpi.
GEOMETRY = {
    HEADING: (64, 0, 305, 25),
    CHECK_NAMES[0]: (16, 32, 257, 25),
    CHECK_NAMES[1]: (16, 56, 257, 25),
    CHECK_NAMES[2]: (16, 80, 257, 25),
    OPTION_NAMES[0]: (16, 120, 281, 19),
    OPTION_NAMES[1]: (16, 144, 281, 19),
    OPTION_NAMES[2]: (16, 168, 281, 19),
    OPTION_NAMES[3]: (16, 192, 281, 19),
    LIST_NAME: (320, 48, 121, 137),
    TEXT_NAME: (8, 224, 449, 121),
}
# The seven indicators, from the left edge of the first check box to the
# right edge of the option buttons; the list is left out on purpose.
INDICATOR_AREA = (16, 32, 281, 179)

POLL = 2.0  # the timer runs every 100 ms; this leaves a wide margin
SETTLE = 0.3  # three timer periods


def expected_indicators(row):
    """The seven indicator states a row must show; None means no row."""
    if row is None:
        return [False] * 7
    nutrition, residue = CLASSES[row]
    checks = [nutrition == 0, nutrition in (1, 2), nutrition == 2]
    options = [residue == j for j in range(4)]
    return checks + options


def inside(inner, outer):
    ix, iy, iw, ih = inner
    ox, oy, ow, oh = outer
    return ox <= ix and oy <= iy and ix + iw <= ox + ow and iy + ih <= oy + oh


def describe(states):
    on = [n for n, s in zip(CHECK_NAMES + OPTION_NAMES, states) if s]
    return "{" + ", ".join(on) + "}" if on else "{nothing}"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def pump():
    """Lets queued AT-SPI events reach the listeners."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def poll(probe, timeout=POLL, interval=0.02):
    """Calls probe until it returns something true; returns the last value."""
    deadline = time.monotonic() + timeout
    while True:
        pump()
        value = probe()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def fresh(acc):
    # libatspi may answer from a cache that only events keep current.
    acc.clear_cache()
    return acc


def has(acc, state):
    return fresh(acc).getState().contains(state)


def state_names(acc):
    return sorted(pyatspi.stateToString(s) for s in fresh(acc).getState().getStates())


# No single tool may hang the test: xdotool's --sync waits for the X server
# without a limit of its own.
TOOL_TIMEOUT = 20


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=TOOL_TIMEOUT)


class Session:
    def __init__(self, exe):
        self.exe = exe
        self.proc = None
        self.log = tempfile.NamedTemporaryFile(prefix="aminokiselini-", suffix=".log")
        self.xdisplay = display.Display()
        self.wid = None
        self.steps = 0

    # -- steps -------------------------------------------------------------

    def step(self, name, action):
        action()
        self.steps += 1
        print(f"ok {self.steps} - {name}", flush=True)

    def enable_screen_reader_flag(self):
        # What a screen reader does on start: the toolkit bridge listens to it.
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

        def status(method, *args):
            return bus.call_sync(
                "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                method, GLib.Variant(*args), None, Gio.DBusCallFlags.NONE, 5000, None)

        status("Set", "(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True)))
        value = status("Get", "(ss)", ("org.a11y.Status", "ScreenReaderEnabled")).unpack()[0]
        check(value is True, f"the accessibility bus did not take ScreenReaderEnabled: {value!r}")

    def start(self):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)
        # The bridge must come up because a screen reader asked, not by force.
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
        self.proc = subprocess.Popen([self.exe], env=env, stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=subprocess.STDOUT)

        def registered():
            check(self.proc.poll() is None,
                  f"the program ended at start with status {self.proc.returncode}")
            for app in pyatspi.Registry.getDesktop(0):
                try:
                    if app is not None and app.get_process_id() == self.proc.pid \
                            and app.childCount == 1:
                        return app
                except GLib.Error:
                    pass  # an application that went away meanwhile
            return None

        self.app = poll(registered, timeout=30, interval=0.1)
        check(self.app, "the program never appeared on the accessibility bus")
        self.frame = self.app[0]
        self.wid = poll(self.find_x_window, timeout=10, interval=0.1)
        check(self.wid, "no mapped X window belongs to the program")

    def find_x_window(self):
        pid_atom = self.xdisplay.intern_atom("_NET_WM_PID")
        for window in self.xdisplay.screen().root.query_tree().children:
            try:
                pid = window.get_full_property(pid_atom, Xatom.CARDINAL)
                if pid and pid.value[0] == self.proc.pid and \
                        window.get_attributes().map_state == X.IsViewable:
                    return window
            except Exception:
                continue
        return None

    def check_window(self):
        check(self.frame.name == TITLE,
              f"window name over AT-SPI is {self.frame.name!r}, expected {TITLE!r}")
        check(self.frame.getRole() == pyatspi.ROLE_FRAME,
              f"top-level object has role {self.frame.getRoleName()!r}, expected 'frame'")
        for state in (pyatspi.STATE_SHOWING, pyatspi.STATE_VISIBLE):
            check(has(self.frame, state), f"window lacks {pyatspi.stateToString(state)}")
        x, y, w, h = self.frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        check((w, h) == CLIENT_SIZE, f"window is {w}x{h} over AT-SPI, expected 461x351")
        geometry = self.wid.get_geometry()
        check((geometry.width, geometry.height) == CLIENT_SIZE,
              f"X window is {geometry.width}x{geometry.height}, expected 461x351")
        self.origin = (x, y)

    def check_title_on_screen(self):
        # The title bar shows _NET_WM_NAME, which Qt may decorate beyond
        # what the accessibility tree reports.
        name = self.wid.get_full_text_property(
            self.xdisplay.intern_atom("_NET_WM_NAME"), self.xdisplay.intern_atom("UTF8_STRING"))
        check(name == TITLE, f"the title bar would read {name!r}, expected {TITLE!r}")

    def check_controls(self):
        children = list(self.frame)

        def one(role, name):
            found = [c for c in children if c.getRole() == role and c.name == name]
            check(len(found) == 1, f"expected one {Atspi.role_get_name(role)} named "
                                   f"{name!r}, found {len(found)}; children: "
                                   f"{[(c.getRoleName(), c.name) for c in children]}")
            acc = found[0]
            for state in (pyatspi.STATE_SHOWING, pyatspi.STATE_VISIBLE, pyatspi.STATE_ENABLED):
                check(has(acc, state), f"{name!r} lacks {pyatspi.stateToString(state)}: "
                                       f"{state_names(acc)}")
            x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            where = (x - self.origin[0], y - self.origin[1], w, h)
            if role in (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON):
                # Qt reports only the clickable part: indicator and caption.
                check(inside(where, GEOMETRY[name]) and where[0] == GEOMETRY[name][0],
                      f"{name!r} sits at {where}, outside its place {GEOMETRY[name]}")
            else:
                check(where == GEOMETRY[name],
                      f"{name!r} sits at {where}, expected {GEOMETRY[name]}")
            return acc

        one(pyatspi.ROLE_LABEL, HEADING)
        self.checks = [one(pyatspi.ROLE_CHECK_BOX, n) for n in CHECK_NAMES]
        self.options = [one(pyatspi.ROLE_RADIO_BUTTON, n) for n in OPTION_NAMES]
        self.list = one(pyatspi.ROLE_LIST, LIST_NAME)
        self.text = one(pyatspi.ROLE_TEXT, TEXT_NAME)

        items = [self.list[i] for i in range(self.list.childCount)]
        check([i.getRole() for i in items] == [pyatspi.ROLE_LIST_ITEM] * len(items),
              f"list children roles: {[i.getRoleName() for i in items]}")
        check([i.name for i in items] == ROWS, f"list rows are {[i.name for i in items]}")
        check(not any(has(i, pyatspi.STATE_SELECTED) for i in items),
              "a row is selected before anyone chose one")

        check(has(self.text, pyatspi.STATE_MULTI_LINE), "the text box is not multi-line")
        check(has(self.text, pyatspi.STATE_READ_ONLY) and not has(self.text, pyatspi.STATE_EDITABLE),
              f"the text box can be edited: {state_names(self.text)}")
        check(self.text.queryText().characterCount > 0, "the text box is empty")

    def check_code_lists_hidden(self):
        lists = [c for c in self.frame if c.getRole() == pyatspi.ROLE_LIST and c.name != LIST_NAME]
        check(len(lists) == 2, f"expected the two code lists, found {len(lists)}")
        for code_list in lists:
            for state in (pyatspi.STATE_SHOWING, pyatspi.STATE_VISIBLE, pyatspi.STATE_FOCUSABLE):
                check(not has(code_list, state),
                      f"a code list reports {pyatspi.stateToString(state)}: {state_names(code_list)}")
            showing = [i for i in range(code_list.childCount)
                       if has(code_list[i], pyatspi.STATE_SHOWING)]
            check(not showing, f"rows {showing} of a hidden code list report showing")

    def check_initial_focus(self):
        # Without a window manager nobody hands the new window the focus;
        # do what a window manager does on map.
        xdotool("windowfocus", "--sync", self.wid.id)
        check(poll(lambda: has(self.frame, pyatspi.STATE_ACTIVE)), "the window never became active")
        check(poll(lambda: has(self.text, pyatspi.STATE_FOCUSED)),
              f"focus did not start in the text box: {state_names(self.text)}")
        others = [c.name for c in self.checks + self.options + [self.list]
                  if has(c, pyatspi.STATE_FOCUSED)]
        check(not others, f"focused besides the text box: {others}")
        self.expect(None, "at start")

    # -- indicators ----------------------------------------------------------

    def indicators(self):
        return [has(c, pyatspi.STATE_CHECKED) for c in self.checks + self.options]

    def selected_rows(self):
        return [i for i in range(self.list.childCount) if has(self.list[i], pyatspi.STATE_SELECTED)]

    def expect(self, row, how):
        want = expected_indicators(row)
        want_rows = [] if row is None else [row]
        ok = poll(lambda: self.selected_rows() == want_rows and self.indicators() == want)
        what = "no row" if row is None else f"row {row} {ROWS[row]!r}"
        check(ok, f"{how}: expected {what} with {describe(want)}; "
                  f"saw rows {self.selected_rows()} with {describe(self.indicators())}")
        # A few timer periods later it must still hold: a timer that shows
        # something else would flip it back after the first look.
        time.sleep(SETTLE)
        pump()
        seen = self.indicators()
        check(seen == want, f"{how}: {describe(want)} did not last, "
                            f"{SETTLE:.1f} s later it was {describe(seen)}")

    # -- input -----------------------------------------------------------------

    def centre(self, acc):
        x, y, w, h = fresh(acc).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return x + w // 2, y + h // 2

    def row_in_view(self, row):
        lx, ly, lw, lh = self.list.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x, y, w, h = fresh(self.list[row]).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return has(self.list[row], pyatspi.STATE_SHOWING) and ly <= y and y + h <= ly + lh \
            and lx <= x and x + w <= lx + lw

    def scroll_to(self, row):
        lx, ly = self.centre(self.list)
        for _ in range(10):
            if self.row_in_view(row):
                return
            first = self.list[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[1]
            target = self.list[row].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[1]
            xdotool("mousemove", "--sync", lx, ly, "click", 5 if target > first else 4)
            time.sleep(0.15)
        check(self.row_in_view(row), f"the mouse wheel did not bring row {row} into view")

    def click_row(self, row, ctrl=False):
        self.scroll_to(row)
        x, y = self.centre(self.list[row])
        wx, wy, ww, wh = GEOMETRY[LIST_NAME]
        ox, oy = self.origin
        check(ox + wx <= x < ox + wx + ww and oy + wy <= y < oy + wy + wh,
              f"row {row} is drawn outside the list at ({x}, {y})")
        if ctrl:
            xdotool("mousemove", "--sync", x, y, "keydown", "ctrl", "click", 1, "keyup", "ctrl")
        else:
            xdotool("mousemove", "--sync", x, y, "click", 1)

    def key(self, *keys):
        xdotool("key", "--delay", 40, *keys)

    def screenshot(self):
        x, y, w, h = INDICATOR_AREA
        shot = subprocess.run(
            ["/usr/bin/import", "-silent", "-window", str(self.wid.id),
             "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
            check=True, capture_output=True, timeout=TOOL_TIMEOUT).stdout
        check(len(shot) == w * h * 3, f"screenshot has {len(shot)} bytes, expected {w * h * 3}")
        return shot

    def picture_until(self, wanted):
        """Photographs the indicators until wanted(picture) holds; returns the
        last picture. Painting may trail the state AT-SPI reports."""
        last = None

        def probe():
            nonlocal last
            last = self.screenshot()
            return wanted(last)

        poll(probe, interval=0.1)
        return last

    def hand_change(self, control, row):
        """Clicks an indicator and checks the timer puts the row's state back."""
        index = (self.checks + self.options).index(control)
        before = expected_indicators(row)[index]
        events = []

        def heard(event):
            source = event.source
            if source.getRole() == control.getRole() and source.name == control.name:
                events.append(bool(event.detail1))

        pyatspi.Registry.registerEventListener(heard, "object:state-changed:checked")
        try:
            x, y, w, h = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            # The indicator itself: the label's right end is not clickable.
            xdotool("mousemove", "--sync", x + 8, y + h // 2, "click", 1)
            # The click must have landed, else the check below proves nothing.
            poll(lambda: (not before) in events)
        finally:
            pyatspi.Registry.deregisterEventListener(heard, "object:state-changed:checked")
        check((not before) in events,
              f"clicking {control.name!r} never changed it (events {events})")
        self.expect(row, f"after a hand click on {control.name!r}")

    def close(self):
        delete = self.xdisplay.intern_atom("WM_DELETE_WINDOW")
        check(delete in (self.wid.get_wm_protocols() or []),
              "the window does not take part in WM_DELETE_WINDOW")
        message = protocol.event.ClientMessage(
            window=self.wid, client_type=self.xdisplay.intern_atom("WM_PROTOCOLS"),
            data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        self.wid.send_event(message, event_mask=X.NoEventMask)
        self.xdisplay.flush()
        started = time.monotonic()
        try:
            status = self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("the program was still running 10 s after its window was closed")
        print(f"# exited with status {status} after {time.monotonic() - started:.2f} s")
        check(status == 0, f"the program exited with status {status}")

    def app_output(self):
        self.log.flush()
        with open(self.log.name, encoding="utf-8", errors="replace") as f:
            return f.read()

    def check_output_clean(self):
        # In a sanitizer build a report need not change the exit status
        # (halt_on_error, exitcode), so the output is read as well.
        output = self.app_output()
        for mark in ("Sanitizer", "runtime error:"):
            check(mark not in output, f"the program printed a {mark!r} report")
        if output.strip():
            print("# program output:\n# " + output.strip().replace("\n", "\n# "))

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    check(os.environ.get("DISPLAY"), "no DISPLAY: run this through run-e2e.sh")
    started = time.monotonic()
    s = Session(os.path.abspath(sys.argv[1]))
    try:
        s.step("screen reader flag set on the accessibility bus", s.enable_screen_reader_flag)
        s.step("program starts and registers with AT-SPI", s.start)
        s.step("window: title, role, 461x351", s.check_window)
        s.step("title bar text (_NET_WM_NAME)", s.check_title_on_screen)
        s.step("controls: roles, names, places", s.check_controls)
        s.step("code lists are neither showing nor visible", s.check_code_lists_hidden)
        s.step("focus starts in the text box, all indicators clear", s.check_initial_focus)

        s.click_row(0)
        s.step("click on 'Лизин' shows essential, basic", lambda: s.expect(0, "mouse on row 0"))
        s.step("the list holds the focus after the click",
               lambda: check(poll(lambda: has(s.list, pyatspi.STATE_FOCUSED)),
                             f"list not focused: {state_names(s.list)}"))
        lysine = s.screenshot()

        s.key("Down")
        s.step("Down selects 'Триптофан'", lambda: s.expect(1, "Down from row 0"))

        s.click_row(9)
        s.step("wheel and click on 'Аланин' shows non-essential, non-polar",
               lambda: s.expect(9, "mouse on row 9"))
        alanine = s.picture_until(lambda shot: shot != lysine)
        s.step("the indicators are repainted between selections",
               lambda: check(lysine != alanine,
                             "the indicator area looks the same for 'Лизин' and 'Аланин'"))

        s.click_row(10)
        s.step("click on 'Аспартат' shows non-essential, acidic",
               lambda: s.expect(10, "mouse on row 10"))

        s.key("End")
        s.step("End selects 'Серин', conditionally essential",
               lambda: s.expect(19, "End key"))
        s.key("Home")
        s.step("Home selects 'Лизин'", lambda: s.expect(0, "Home key"))
        s.step("'Лизин' paints as it did the first time",
               lambda: check(s.picture_until(lambda shot: shot == lysine) == lysine,
                             "the indicator area for 'Лизин' differs from its first picture"))
        s.key(*["Down"] * 12)
        s.step("12 x Down selects 'Аргинин', conditionally essential, basic",
               lambda: s.expect(12, "Down from row 0, twelve times"))

        s.key("Home")
        s.expect(0, "Home key")
        s.step("hand click on 'заменими' is undone", lambda: s.hand_change(s.checks[0], 0))
        s.step("hand click on 'неутрални с неполярен' is undone",
               lambda: s.hand_change(s.options[0], 0))

        s.click_row(0, ctrl=True)
        s.step("Ctrl+click on the selected row clears all seven",
               lambda: s.expect(None, "Ctrl+click on row 0"))
        s.step("with no row, a hand click on 'незаменими' is undone",
               lambda: s.hand_change(s.checks[1], None))

        s.step("closing the window ends the program with status 0", s.close)
        s.step("no sanitizer report in the program's output", s.check_output_clean)
    except Exception as error:
        detail = error if isinstance(error, Failure) else f"{type(error).__name__}: {error}"
        print(f"not ok {s.steps + 1} - {detail}", flush=True)
        s.stop()
        output = s.app_output()
        if output:
            print("# program output:\n" + output[-6000:])
        sys.exit(1)
    finally:
        s.stop()
    print(f"# {s.steps} steps passed in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    main()
