#!/usr/bin/python3
"""End-to-end test of the real window, seen the way a pupil and a screen
reader see it: real X input from xdotool, answers read back over AT-SPI.

Run it through run-e2e.sh, which gives it a private X server and a private
D-Bus session; it needs the system Python, where pyatspi and Xlib live.
Each test class starts the program afresh, and each test brings the window
to the state it starts from itself.

usage: test_e2e.py PATH-TO-aminokiselini [unittest options and test names]
"""

import json
import os
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

import pyatspi  # noqa: E402
from Xlib import X, Xatom, display, protocol  # noqa: E402

# What the pupil must see, from the hand-written expected form that every
# suite reads, never from the program, so that a wrong entry in the
# program's table shows up.
with open(Path(__file__).resolve().parents[1] / "expected_form.json", encoding="utf-8") as f:
    EXPECTED = json.load(f)
CONTROLS = {c["name"]: c for c in EXPECTED["controls"]}

TITLE = EXPECTED["title"]
HEADING = CONTROLS["Label1_0"]["text"]
CHECK_NAMES = [CONTROLS[f"Check1_{i}"]["text"] for i in range(3)]
OPTION_NAMES = [CONTROLS[f"Option1_{j}"]["text"] for j in range(4)]
LIST_NAME = CONTROLS["List1_0"]["accessibleName"]
TEXT_NAME = CONTROLS["Text1_0"]["accessibleName"]
CLIENT_SIZE = tuple(EXPECTED["client"])
ROWS = [row["name"] for row in EXPECTED["rows"]]

# Window-relative rectangles in pixels at 96 dpi, by the name a screen
# reader announces; the hidden code lists have none.
GEOMETRY = {c.get("text") or c["accessibleName"]: tuple(c["rect"])
            for c in EXPECTED["controls"] if c["role"] != "hidden list"}
# The seven indicators, from the left edge of the first check box to the
# right edge of the option buttons; the list is left out on purpose.
_indicators = [c["rect"] for c in EXPECTED["controls"] if c["role"] in ("check", "option")]
_left = min(x for x, _, _, _ in _indicators)
_top = min(y for _, y, _, _ in _indicators)
INDICATOR_AREA = (_left, _top, max(x + w for x, _, w, _ in _indicators) - _left,
                  max(y + h for _, y, _, h in _indicators) - _top)

POLL = 2.0  # the timer runs every 100 ms; this leaves a wide margin
SETTLE = 0.3  # three timer periods


def expected_indicators(row):
    """The seven indicator states a row must show; None means no row."""
    shown = EXPECTED["cleared"] if row is None else EXPECTED["rows"][row]
    return [c == "1" for c in shown["checks"]] + [shown["option"] == j for j in range(4)]


def inside(inner, outer):
    ix, iy, iw, ih = inner
    ox, oy, ow, oh = outer
    return ox <= ix and oy <= iy and ix + iw <= ox + ow and iy + ih <= oy + oh


def describe(states):
    on = [n for n, s in zip(CHECK_NAMES + OPTION_NAMES, states) if s]
    return "{" + ", ".join(on) + "}" if on else "{nothing}"


def check(condition, message):
    """For the session's helpers, which several tests share: fails the test
    that called them, as its own assertions would."""
    if not condition:
        raise AssertionError(message)


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
    """One run of the program, watched through AT-SPI and X."""

    def __init__(self, exe):
        self.exe = exe
        self.proc = None
        self.log = tempfile.NamedTemporaryFile(prefix="aminokiselini-", suffix=".log")
        self.xdisplay = display.Display()
        self.wid = None

    def screen_reader_flag(self):
        """Sets the flag a screen reader sets on start, to which the toolkit
        bridge listens; returns what the bus then reports."""
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

        def status(method, *args):
            return bus.call_sync(
                "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                method, GLib.Variant(*args), None, Gio.DBusCallFlags.NONE, 5000, None)

        status("Set", "(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True)))
        return status("Get", "(ss)", ("org.a11y.Status", "ScreenReaderEnabled")).unpack()[0]

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
        x, y, _, _ = self.frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        self.origin = (x, y)
        self.find_controls()

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

    def one(self, role, name):
        """The window's one control of that role and name."""
        children = list(self.frame)
        found = [c for c in children if c.getRole() == role and c.name == name]
        check(len(found) == 1, f"expected one {Atspi.role_get_name(role)} named "
                               f"{name!r}, found {len(found)}; children: "
                               f"{[(c.getRoleName(), c.name) for c in children]}")
        return found[0]

    def find_controls(self):
        self.heading = self.one(pyatspi.ROLE_LABEL, HEADING)
        self.checks = [self.one(pyatspi.ROLE_CHECK_BOX, n) for n in CHECK_NAMES]
        self.options = [self.one(pyatspi.ROLE_RADIO_BUTTON, n) for n in OPTION_NAMES]
        self.list = self.one(pyatspi.ROLE_LIST, LIST_NAME)
        self.text = self.one(pyatspi.ROLE_TEXT, TEXT_NAME)

    def focus(self):
        # Without a window manager nobody hands the new window the focus;
        # do what a window manager does on map.
        xdotool("windowfocus", "--sync", self.wid.id)
        check(poll(lambda: has(self.frame, pyatspi.STATE_ACTIVE)), "the window never became active")

    def place(self, acc):
        x, y, w, h = fresh(acc).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (x - self.origin[0], y - self.origin[1], w, h)

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
            xdotool(*self.point_at(lx, ly), "click", 5 if target > first else 4)
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
            xdotool(*self.point_at(x, y), "keydown", "ctrl", "click", 1, "keyup", "ctrl")
        else:
            xdotool(*self.point_at(x, y), "click", 1)

    def select(self, row):
        """A click on the row, and the row shown: where a test starts from."""
        self.click_row(row)
        self.expect(row, f"mouse on row {row}")

    def point_at(self, x, y):
        """xdotool's words that put the pointer at (x, y). Its --sync waits
        for the pointer to move, so there are none where it already is."""
        here = self.xdisplay.screen().root.query_pointer()
        return [] if (here.root_x, here.root_y) == (x, y) else ["mousemove", "--sync", x, y]

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
            xdotool(*self.point_at(x + 8, y + h // 2), "click", 1)
            # The click must have landed, else the check below proves nothing.
            poll(lambda: (not before) in events)
        finally:
            pyatspi.Registry.deregisterEventListener(heard, "object:state-changed:checked")
        check((not before) in events,
              f"clicking {control.name!r} never changed it (events {events})")
        self.expect(row, f"after a hand click on {control.name!r}")

    def close(self):
        """Asks the window to close as a window manager does; returns the
        program's exit status, None if it was still running 10 s later."""
        message = protocol.event.ClientMessage(
            window=self.wid, client_type=self.xdisplay.intern_atom("WM_PROTOCOLS"),
            data=(32, [self.xdisplay.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        self.wid.send_event(message, event_mask=X.NoEventMask)
        self.xdisplay.flush()
        try:
            return self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            return None

    def output(self):
        self.log.flush()
        with open(self.log.name, encoding="utf-8", errors="replace") as f:
            return f.read()

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.xdisplay.close()


# In a sanitizer build a report need not change the exit status
# (halt_on_error, exitcode), so the output is read as well.
SANITIZER_MARKS = ("Sanitizer", "runtime error:")


class WindowTest(unittest.TestCase):
    """A test class with a run of the program of its own, started before its
    first test and ended after its last. A program that does not start, or
    never shows its one window on the accessibility bus, fails the class's
    set-up, and with it every test of the class."""

    @classmethod
    def setUpClass(cls):
        cls.session = Session(EXE)
        cls.addClassCleanup(cls.end_session)
        cls.screen_reader_flag = cls.session.screen_reader_flag()
        cls.session.start()

    @classmethod
    def end_session(cls):
        cls.session.stop()
        output = cls.session.output()
        cls.session.log.close()
        if output.strip():
            print(f"# {cls.__name__}: the program's output:\n# "
                  + output.strip()[-6000:].replace("\n", "\n# "), file=sys.stderr)
        for mark in SANITIZER_MARKS:
            check(mark not in output, f"the program printed a {mark!r} report")


class AtStart(WindowTest):
    """The window as it opens, before anyone touches it."""

    def test_screen_reader_flag_is_set_on_the_accessibility_bus(self):
        self.assertIs(self.screen_reader_flag, True)

    def test_window_title_role_and_size(self):
        frame = self.session.frame
        self.assertEqual(frame.name, TITLE, "the window's name over AT-SPI")
        self.assertEqual(frame.getRole(), pyatspi.ROLE_FRAME, frame.getRoleName())
        for state in (pyatspi.STATE_SHOWING, pyatspi.STATE_VISIBLE):
            self.assertTrue(has(frame, state), f"window lacks {pyatspi.stateToString(state)}")
        _, _, w, h = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        self.assertEqual((w, h), CLIENT_SIZE, "the window's size over AT-SPI")
        geometry = self.session.wid.get_geometry()
        self.assertEqual((geometry.width, geometry.height), CLIENT_SIZE, "the X window's size")

    def test_title_bar_text(self):
        # The title bar shows _NET_WM_NAME, which Qt may decorate beyond
        # what the accessibility tree reports.
        s = self.session
        name = s.wid.get_full_text_property(
            s.xdisplay.intern_atom("_NET_WM_NAME"), s.xdisplay.intern_atom("UTF8_STRING"))
        self.assertEqual(name, TITLE, "what the title bar would read")

    def test_controls_roles_names_and_places(self):
        s = self.session
        for acc in [s.heading, *s.checks, *s.options, s.list, s.text]:
            with self.subTest(acc.name):
                for state in (pyatspi.STATE_SHOWING, pyatspi.STATE_VISIBLE,
                              pyatspi.STATE_ENABLED):
                    self.assertTrue(has(acc, state), f"{acc.name!r} lacks "
                                    f"{pyatspi.stateToString(state)}: {state_names(acc)}")
                where, place = s.place(acc), GEOMETRY[acc.name]
                if acc.getRole() in (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON):
                    # Qt reports only the clickable part: indicator and caption.
                    self.assertTrue(inside(where, place) and where[0] == place[0],
                                    f"{acc.name!r} sits at {where}, outside its place {place}")
                else:
                    self.assertEqual(where, place, f"where {acc.name!r} sits")

    def test_list_rows_with_none_selected(self):
        items = [self.session.list[i] for i in range(self.session.list.childCount)]
        self.assertEqual([i.getRole() for i in items], [pyatspi.ROLE_LIST_ITEM] * len(items),
                         f"list children roles: {[i.getRoleName() for i in items]}")
        self.assertEqual([i.name for i in items], ROWS)
        self.assertFalse(any(has(i, pyatspi.STATE_SELECTED) for i in items),
                         "a row is selected before anyone chose one")

    def test_lesson_box_is_multi_line_read_only_and_filled(self):
        text = self.session.text
        self.assertTrue(has(text, pyatspi.STATE_MULTI_LINE), "the text box is not multi-line")
        self.assertTrue(has(text, pyatspi.STATE_READ_ONLY) and not has(text, pyatspi.STATE_EDITABLE),
                        f"the text box can be edited: {state_names(text)}")
        self.assertGreater(text.queryText().characterCount, 0, "the text box is empty")

    def test_code_lists_are_neither_showing_nor_visible(self):
        lists = [c for c in self.session.frame
                 if c.getRole() == pyatspi.ROLE_LIST and c.name != LIST_NAME]
        self.assertEqual(len(lists), 2, "the two code lists")
        for code_list in lists:
            for state in (pyatspi.STATE_SHOWING, pyatspi.STATE_VISIBLE, pyatspi.STATE_FOCUSABLE):
                self.assertFalse(has(code_list, state), f"a code list reports "
                                 f"{pyatspi.stateToString(state)}: {state_names(code_list)}")
            showing = [i for i in range(code_list.childCount)
                       if has(code_list[i], pyatspi.STATE_SHOWING)]
            self.assertEqual(showing, [], "rows of a hidden code list that report showing")

    def test_focus_starts_in_the_text_box_with_all_indicators_clear(self):
        s = self.session
        s.focus()
        self.assertTrue(poll(lambda: has(s.text, pyatspi.STATE_FOCUSED)),
                        f"focus did not start in the text box: {state_names(s.text)}")
        others = [c.name for c in s.checks + s.options + [s.list] if has(c, pyatspi.STATE_FOCUSED)]
        self.assertEqual(others, [], "focused besides the text box")
        s.expect(None, "at start")


class Driven(WindowTest):
    """The list driven with the mouse and the keys, and the indicators by hand."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.session.focus()

    def test_click_on_lysine_shows_essential_basic(self):
        self.session.click_row(0)
        self.session.expect(0, "mouse on row 0")

    def test_list_holds_the_focus_after_a_click(self):
        s = self.session
        s.select(0)
        self.assertTrue(poll(lambda: has(s.list, pyatspi.STATE_FOCUSED)),
                        f"list not focused: {state_names(s.list)}")

    def test_down_selects_the_next_row(self):
        self.session.select(0)
        self.session.key("Down")
        self.session.expect(1, "Down from row 0")

    def test_wheel_and_click_on_alanine_shows_non_essential_non_polar(self):
        self.session.select(0)  # row 9 out of view
        self.session.click_row(9)
        self.session.expect(9, "mouse on row 9")

    def test_click_on_aspartate_shows_non_essential_acidic(self):
        self.session.click_row(10)
        self.session.expect(10, "mouse on row 10")

    def test_end_selects_the_last_row(self):
        self.session.select(10)
        self.session.key("End")
        self.session.expect(19, "End key")

    def test_home_selects_the_first_row(self):
        self.session.select(19)
        self.session.key("Home")
        self.session.expect(0, "Home key")

    def test_twelve_downs_select_arginine(self):
        self.session.select(0)
        self.session.key(*["Down"] * 12)
        self.session.expect(12, "Down from row 0, twelve times")

    def test_indicators_are_repainted_between_selections(self):
        s = self.session
        s.select(0)
        lysine = s.screenshot()
        s.select(9)
        alanine = s.picture_until(lambda shot: shot != lysine)
        self.assertNotEqual(lysine, alanine,
                            "the indicator area looks the same for 'Лизин' and 'Аланин'")
        s.key("Home")
        s.expect(0, "Home key")
        self.assertEqual(s.picture_until(lambda shot: shot == lysine), lysine,
                         "the indicator area for 'Лизин' differs from its first picture")

    def test_hand_click_on_a_check_box_is_undone(self):
        self.session.select(0)
        self.session.hand_change(self.session.checks[0], 0)

    def test_hand_click_on_an_option_button_is_undone(self):
        self.session.select(0)
        self.session.hand_change(self.session.options[0], 0)

    def test_ctrl_click_on_the_selected_row_clears_all_seven(self):
        self.session.select(0)
        self.session.click_row(0, ctrl=True)
        self.session.expect(None, "Ctrl+click on row 0")

    def test_with_no_row_a_hand_click_is_undone(self):
        s = self.session
        s.select(0)
        s.click_row(0, ctrl=True)
        s.expect(None, "Ctrl+click on row 0")
        s.hand_change(s.checks[1], None)


class Closing(WindowTest):
    """The window closed as a window manager closes it, after some use."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        s = cls.session
        s.focus()
        s.select(0)
        s.key("Down")
        s.hand_change(s.options[0], 1)
        cls.protocols = s.wid.get_wm_protocols() or []
        started = time.monotonic()
        cls.status = s.close()
        cls.took = time.monotonic() - started

    def test_window_takes_part_in_wm_delete_window(self):
        self.assertIn(self.session.xdisplay.intern_atom("WM_DELETE_WINDOW"), self.protocols)

    def test_closing_ends_the_program_with_status_0(self):
        self.assertIsNotNone(self.status, "the program was still running 10 s after "
                                          "its window was closed")
        self.assertEqual(self.status, 0, f"exit status, {self.took:.2f} s after the close")

    def test_no_sanitizer_report_in_the_programs_output(self):
        output = self.session.output()
        for mark in SANITIZER_MARKS:
            self.assertNotIn(mark, output, "a sanitizer report in the program's output")


if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1].startswith("-"):
        sys.exit(__doc__)
    EXE = os.path.abspath(sys.argv.pop(1))
    if not os.environ.get("DISPLAY"):
        sys.exit("no DISPLAY: run this through run-e2e.sh")
    unittest.main(verbosity=2)
