#!/usr/bin/python3
"""Drives the built programs the way a pupil or a teacher does, through what a screen reader
sees: the private desktop's AT-SPI, keys typed with xdotool into the focused window.

Shared by the end-to-end tests (play_solfira.py, read_register.py, hear_solfira.py,
shared_folder.py). Needs Debian's /usr/bin/python3 with python3-gi, gir1.2-atspi-2.0, and
xvfb, xdotool, dbus-daemon, at-spi2-core.
"""

import contextlib
import os
import re
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, stop_group  # noqa: E402

WAIT = 20.0  # seconds for anything to appear; generous for a loaded machine
TIME_LIMIT = 90  # seconds for the whole run
Atspi = None  # imported once the private desktop's buses are known
GLib = None


class Failure(AssertionError):
    pass


def run_xdotool(env, *args):
    """Runs xdotool on the test desktop; its output, or a Failure."""
    result = subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True,
                            timeout=30)
    if result.returncode != 0:
        raise Failure(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
    return result.stdout


def check(condition, message):
    if not condition:
        raise Failure(message)


def log(message):
    print(f"[{time.monotonic() - START:6.2f}] {message}", flush=True)


START = time.monotonic()


# -- AT-SPI ---------------------------------------------------------------------------------

def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def poll(what, probe, timeout=WAIT, interval=0.05):
    """Calls `probe` until it returns a true value; a Failure naming `what` past the timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(interval)


def wait_for(what, probe, timeout=WAIT):
    """Polls `probe`, AT-SPI's events delivered meanwhile, until it returns a true value."""
    errors = []

    def pumped():
        pump()
        try:
            return probe()
        except GLib.Error as error:  # an object went away while it was being read
            errors[:] = [error]
            return None
    try:
        return poll(what, pumped, timeout)
    except Failure as failure:
        raise Failure(f"{failure} (last error: {errors[0]})" if errors else str(failure)) from None


def children(obj):
    try:
        return [obj.get_child_at_index(i) for i in range(obj.get_child_count())]
    except GLib.Error:
        return []


def walk(obj):
    todo = [obj]
    while todo:
        current = todo.pop(0)
        yield current
        todo.extend(c for c in children(current) if c is not None)


def has_state(obj, state):
    return obj.get_state_set().contains(state)


def showing(obj):
    return has_state(obj, Atspi.StateType.SHOWING)


def find(root, role, name=None, description=None, visible=True):
    for obj in walk(root):
        try:
            if obj.get_role_name() != role:
                continue
            if name is not None and obj.get_name() != name:
                continue
            if description is not None and obj.get_description() != description:
                continue
            if visible and not showing(obj):
                continue
            return obj
        except GLib.Error:
            continue
    return None


def text_of(obj):
    return Atspi.Text.get_text(obj, 0, Atspi.Text.get_character_count(obj))


def application(process, what):
    """The accessible application of a program started here, found by its process id."""
    def probe():
        for app in children(Atspi.get_desktop(0)):
            if app is not None and app.get_process_id() == process.pid:
                return app
        return None
    return wait_for(f"{what} on the accessibility bus", probe)


class Program:
    """A running program (the game, the register) as AT-SPI and the X server show it."""

    def __init__(self, desktop, process, what="the game"):
        self.desktop = desktop
        self.process = process
        self.what = what
        self.app = None
        self.events = []  # (kind, role, description, value) of property changes
        self.listener = None

    def xdotool(self, *args):
        return run_xdotool(self.desktop.env, *args)

    def attach(self):
        self.app = application(self.process, self.what)
        # Every read asks the game itself: a cached name could be one change behind.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        self.listener = Atspi.EventListener.new(self._event)
        for kind in ("object:property-change:accessible-name",
                     "object:property-change:accessible-description"):
            self.listener.register(kind)

    def _event(self, event):
        try:
            source = event.source
            if source.get_process_id() != self.process.pid:
                return
            # Qt 6.4 sends no value with the change: the value is what the object says now.
            value = (source.get_name() if event.type.endswith("accessible-name")
                     else source.get_description())
            self.events.append((event.type, source.get_role_name(), source.get_description(),
                                value))
        except GLib.Error:
            pass

    def ensure_running(self):
        code = self.process.poll()
        check(code is None, f"{self.what} ended unexpectedly with status {code}")

    # Top-level windows ----------------------------------------------------------------------

    def open_boxes(self):
        """The dialogs and message boxes on screen."""
        self.ensure_running()
        return [w for w in children(self.app)
                if w is not None and w.get_role_name() in ("dialog", "alert") and showing(w)]

    def wait_box(self, role, what):
        def probe():
            boxes = self.open_boxes()
            check(len(boxes) <= 1, f"more than one box open: {[b.get_name() for b in boxes]}")
            return boxes[0] if boxes and boxes[0].get_role_name() == role else None
        return wait_for(what, probe)

    def wait_no_box(self, what):
        wait_for(what, lambda: not self.open_boxes())

    def main_window(self):
        """The game window, refusing to act on it while a box is open: a person could not."""
        boxes = self.open_boxes()
        check(not boxes, f"a box is open over the window: {[b.get_name() for b in boxes]}")
        return wait_for("the game window", lambda: find(self.app, "frame"))

    def xid(self, title):
        return self.window_id(f"^{re.escape(title)}$", f"the X window titled {title!r}")

    def window_id(self, pattern, what):
        """The X window of this program on screen whose title matches `pattern`."""
        def probe():
            out = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid",
                                  str(self.process.pid), "--name", pattern],
                                 env=self.desktop.env, capture_output=True, text=True)
            ids = out.stdout.split()
            return ids[-1] if ids else None
        return wait_for(what, probe)

    def focus(self, window, widget):
        """Gives the keyboard focus to `widget` in the top-level `window` (an accessible)."""
        self.xdotool("windowfocus", "--sync", self.xid(window.get_name()))
        if not has_state(widget, Atspi.StateType.FOCUSED):
            widget.grab_focus()
        wait_for(f"the focus on {widget.get_role_name()} {widget.get_name()!r}",
                 lambda: has_state(widget, Atspi.StateType.FOCUSED))

    def type_into(self, field, text):
        """Types `text` into the focused `field`, and reads it back."""
        check(has_state(field, Atspi.StateType.FOCUSED), f"{field.get_name()!r} has no focus")
        for attempt in range(3):
            # Backspace is a key the answer boxes take as it is (a Ctrl chord is not).
            left = len(text_of(field))
            if left:
                self.xdotool("key", *(["End"] + ["BackSpace"] * left))
            self.xdotool("type", "--delay", "20", text)
            try:
                wait_for(f"{text!r} in {field.get_name()!r}", lambda: text_of(field) == text, 5)
                return
            except Failure:
                log(f"retyping {text!r} (read back {text_of(field)!r})")
        raise Failure(f"could not type {text!r} into {field.get_name()!r}")

    def key(self, *keys):
        self.xdotool("key", *keys)


LOCALES = {
    "it_IT.UTF-8": {"point": ",", "date": "%d/%m/%Y"},
    "de_DE.UTF-8": {"point": ",", "date": "%d.%m.%Y"},
    "en_US.UTF-8": {"point": ".", "date": "%-m/%-d/%Y"},
}
LOCALE = {"name": "it_IT.UTF-8", **LOCALES["it_IT.UTF-8"]}
GAME_ENV = {"QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                  "QT_ACCESSIBILITY": "1", "LC_ALL": "it_IT.UTF-8", "LANG": "it_IT.UTF-8"}


def use_locale(name):
    LOCALE.update(name=name, **LOCALES[name])
    GAME_ENV.update(LC_ALL=name, LANG=name)


def require_real_locale():
    """The C library must really switch to the game's locale: without its data it silently
    stays in "C", and the game would not be tested as a pupil's system runs it."""
    point = subprocess.run(["locale", "decimal_point"], env={**os.environ, **GAME_ENV},
                           capture_output=True, text=True).stdout.strip()
    check(point == LOCALE["point"], f"the C library has no {LOCALE['name']} data (decimal "
          f"point {point!r}); run scripts/locales.sh")


@contextlib.contextmanager
def started(desktop, argv, what="the game"):
    """Runs `argv` on the desktop, in Italian and seen over AT-SPI, as a Program attached to
    the accessibility bus; stops it on the way out if it is still running."""
    process = desktop.start(os.path.basename(argv[0]), argv, env=GAME_ENV,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    program = Program(desktop, process, what)
    try:
        program.attach()
        log(f"{what} on the accessibility bus")
        yield program
    except Failure:
        for event in program.events[-30:]:
            log(f"event heard: {event}")
        raise
    finally:
        if process.poll() is None:
            stop_group(process)
        errors = process.stderr.read().decode(errors="replace") if process.stderr else ""
        unexpected = [line for line in errors.splitlines()
                      if line and "which is not UTF-8" not in line
                      and "switched to" not in line and "reconfigure your locale" not in line
                      and "for more information" not in line]
        if unexpected:
            log(f"standard error of {what}:\n  " + "\n  ".join(unexpected))




def give_up_after(seconds):
    """Whatever happens, gives up in time and stops what was started: a stop request or the
    time limit raises a Failure, and the desktop is taken down on the way out."""
    def give_up(signum, frame):
        raise Failure("stopped by a signal" if signum != signal.SIGALRM
                      else f"the whole run took more than {seconds} s")
    for signum in (signal.SIGALRM, signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, give_up)
    signal.alarm(seconds)


def use_desktop(desktop):
    """Points AT-SPI at the private desktop's buses and readies its keyboard for Italian names."""
    # The buses are known only now: AT-SPI reads them from the environment when loaded.
    for name in ("AT_SPI_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS", "WAYLAND_DISPLAY"):
        os.environ.pop(name, None)
    os.environ.update(desktop.env)
    global Atspi, GLib
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi as _Atspi, GLib as _GLib
    Atspi, GLib = _Atspi, _GLib
    # Letters of Italian names, each on a key of its own (see the note in desktop.py).
    desktop.bind_keysyms(["egrave", "eacute", "agrave", "igrave", "ograve", "ugrave"])


def run_on_private_desktop(programs, body, time_limit=None):
    """Checks the programs, then runs body(desktop, *programs, data) on a private desktop with
    an empty data folder; ends the whole run with a failure past the time limit."""
    programs = [os.path.abspath(p) for p in programs]
    for program in programs:
        check(os.access(program, os.X_OK), f"{program} is not a program")
    give_up_after(time_limit or TIME_LIMIT)
    with Desktop() as desktop:
        use_desktop(desktop)
        data = os.path.join(desktop.root, "data")
        os.mkdir(data)
        log(f"desktop {desktop.display} ready")
        try:
            body(desktop, *programs, data)
        finally:
            Atspi.exit()
    log("passed")


def run_main(main):
    """Runs a test's main, turning a failure into its message and status 1."""
    try:
        main()
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr, flush=True)
        sys.exit(1)
