#!/usr/bin/python3
"""Plays the built game the way a pupil does, through what a screen reader sees.

On a private desktop (tests/e2e/desktop.py) it starts the game with an empty data folder,
answers the name prompt, reads the greeting and the question over AT-SPI, types the right
fraction, then an unreduced one, opens a new question, gives the class, leaves with "Sì" and
checks the record files and the class log byte for byte. Keys are typed with xdotool into
the focused window, as a keyboard would; AT-SPI is used to read and to move the focus.

Its steps (naming the player, giving the class, leaving) also serve read_register.py.

Usage: play_solfira.py --solfira PATH      (exit status 0: passed; gives up after 90 s)
Needs Debian's /usr/bin/python3 with python3-gi, gir1.2-atspi-2.0, and xvfb, xdotool,
dbus-daemon, at-spi2-core.
"""

import argparse
import contextlib
import datetime
import os
import re
import signal
import subprocess
import sys
import time
from decimal import Decimal
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, stop_group  # noqa: E402

PLAYER = "Niccolò"  # a letter outside ASCII: the files are single-byte Latin-1
CLASS = "3A"
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


def wait_for(what, probe, timeout=WAIT):
    """Polls `probe` (events are delivered meanwhile) until it returns a true value."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        pump()
        try:
            value = probe()
            if value:
                return value
        except GLib.Error as error:  # an object went away while it was being read
            last_error = error
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}"
                          + (f" (last error: {last_error})" if last_error else ""))
        time.sleep(0.05)


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


# -- the scenario ---------------------------------------------------------------------------

def expected_fraction(question):
    point = LOCALE["point"]
    check(re.fullmatch(rf"[1-8]{re.escape(point)}\d{{1,2}}", question),
          f"question {question!r} is not a decimal number from 1 to 9 with {point!r}")
    value = Fraction(Decimal(question.replace(point, ".")))
    check(value.denominator != 1, f"question {question!r} is a whole number")
    return value.numerator, value.denominator


def label(window, description):
    return wait_for(f"the label {description!r}",
                    lambda: find(window, "label", description=description))


def counters(window):
    return tuple(label(window, title).get_name()
                 for title in ("Risposte esatte", "Risposte errate", "Risposte totali"))


def answer(game, numerator, denominator):
    """Types a fraction as a player does: numerator, Enter, denominator, Enter."""
    window = game.main_window()
    top = game.xid(window.get_name())
    game.xdotool("windowfocus", "--sync", top)
    upper = find(window, "text", name="Numeratore")
    lower = find(window, "text", name="Denominatore")
    check(upper and lower, "the numerator and denominator boxes are not on screen")
    wait_for("the focus in the numerator box",
             lambda: has_state(upper, Atspi.StateType.FOCUSED))
    game.type_into(upper, str(numerator))
    game.key("Return")
    wait_for("the focus in the denominator box",
             lambda: has_state(lower, Atspi.StateType.FOCUSED))
    game.type_into(lower, str(denominator))
    game.key("Return")
    next_button = find(window, "push button", name="Nuovo calcolo")
    wait_for("the focus on 'Nuovo calcolo'",
             lambda: has_state(next_button, Atspi.StateType.FOCUSED))
    return window, next_button


def read_question(game):
    window = game.main_window()
    question_label = label(window, "Numero decimale da scrivere come frazione")
    question = wait_for("a question", lambda: question_label.get_name())
    upper = find(window, "text", name="Numeratore")
    # A screen reader reads the question when the focus reaches the numerator box.
    check(question in upper.get_description(),
          f"the numerator box does not tell the question: {upper.get_description()!r}")
    check(text_of(upper) == "", "the numerator box is not empty for a new question")
    return question


def heard(game, description, value):
    """Whether a name change of the label described `description` to `value` was announced."""
    return any(kind == "object:property-change:accessible-name" and role == "label"
               and desc == description and new == value
               for kind, role, desc, new in game.events)


# The user's locale the game runs under, as on a pupil's desktop: the C library's data for it
# is there (made by scripts/locales.sh), so Qt and the C library agree on the decimal
# separator (3,25 in Italian) and the date is the locale's short form with the full year.
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


def play(desktop, solfira, data):
    require_real_locale()
    today_at_start = datetime.date.today()
    with started(desktop, [solfira, "--data-dir", data]) as game:
        _play(game, data, today_at_start)


CLOCK = "Tempo restante della gara, in ore, minuti e secondi"


def name_player(game, player):
    """Answers the name prompt, closes the greeting and returns the game window, checked to
    show the player as challenger, the counters at zero and a full clock."""
    # Name prompt.
    prompt = game.wait_box("dialog", "the name prompt")
    field = find(prompt, "text", name="Come ti chiami?")
    check(field is not None, "the name prompt has no box named 'Come ti chiami?'")
    game.focus(prompt, field)
    game.type_into(field, player)
    game.key("Return")

    # Greeting.
    greeting = game.wait_box("alert", "the greeting")
    text = find(greeting, "label")
    check(text is not None and text.get_name() == f" {player} vediamo se sei un vero campione  ",
          f"greeting reads {text.get_name() if text else None!r}")
    ok = find(greeting, "push button", name="OK")
    game.focus(greeting, ok)
    game.key("Return")
    game.wait_no_box("the greeting to close")
    log("named and greeted")

    window = wait_for("the game window on screen",
                      lambda: (lambda f: f if f and showing(f) else None)(find(game.app, "frame")))
    check(window.get_name() == "Virelba", f"window title {window.get_name()!r}")
    challenger = label(window, "Il nome dello sfidante")
    check(challenger.get_name() == player, f"challenger shows {challenger.get_name()!r}")
    check(counters(window) == ("0", "0", "0"), f"counters at start: {counters(window)}")
    clock = label(window, CLOCK)
    check(re.fullmatch(r"00:1[45]:\d\d", clock.get_name()), f"clock {clock.get_name()!r}")
    return window


def give_class(game, class_name):
    """Gives the class from the menu "Solfira" > "Classe", with the keyboard."""
    window = game.main_window()
    # On a loaded machine the window may take the focus a moment after the X server says so,
    # and a key sent before that is lost: press again while the menu has not opened.
    deadline = time.monotonic() + WAIT
    while True:
        game.xdotool("windowfocus", "--sync", game.xid(window.get_name()))
        game.key("alt+s")
        try:
            wait_for("the menu 'Solfira' open",
                     lambda: find(game.app, "menu item", name="Classe"), timeout=3.0)
            break
        except Failure:
            if time.monotonic() > deadline:
                raise
            log("the menu did not open; pressing Alt+S again")
    game.key("c")
    prompt = game.wait_box("dialog", "the class prompt")
    field = find(prompt, "text", name="Classe?")
    check(field is not None, "the class prompt has no box named 'Classe?'")
    game.focus(prompt, field)
    game.type_into(field, class_name)
    game.key("Return")
    shown = game.wait_box("alert", "the class message")
    text = find(shown, "label")
    check(text is not None and text.get_name() == f" Classe  {class_name}",
          f"class message reads {text.get_name() if text else None!r}")
    game.focus(shown, find(shown, "push button", name="OK"))
    game.key("Return")
    game.wait_no_box("the class message to close")
    log("class given")


def leave(game, new_record):
    """Leaves with "Exit" and "Sì"; a new record is acknowledged, and without one the game
    ends with no further box. The game must end with status 0."""
    window = game.main_window()
    # A button is named by what it shows; what it does is its description.
    exit_button = find(window, "push button", name="Exit")
    check(exit_button is not None and exit_button.get_description().startswith("Esci"),
          "no button named 'Exit' that says it leaves")
    game.focus(window, exit_button)
    game.key("Return")
    question_box = game.wait_box("alert", "the exit question")
    check(question_box.get_name() == "Uscire dal programma",
          f"exit question titled {question_box.get_name()!r}")
    text = find(question_box, "label")
    check(text is not None and text.get_name() == "Vuoi veramente lasciarmi  ?",
          f"exit question reads {text.get_name() if text else None!r}")
    no = find(question_box, "push button", name="No")
    check(no is not None and has_state(no, Atspi.StateType.FOCUSED),
          "'No' is not the button in focus of the exit question")
    game.focus(question_box, find(question_box, "push button", name="Sì"))
    game.key("space")
    if new_record:
        champion = game.wait_box("alert", "the new record message")
        text = find(champion, "label")
        check(text is not None
              and text.get_name() == 'Ok ho registrato il tuo record, C A M P I O N E"',
              f"record message reads {text.get_name() if text else None!r}")
        game.focus(champion, find(champion, "push button", name="OK"))
        game.key("Return")
        after = "the record message"
    else:
        def ended_quietly():
            if game.process.poll() is not None:
                return True
            for box in children(game.app):
                if (box is not None and box.get_role_name() in ("dialog", "alert")
                        and showing(box) and box.get_name() != "Uscire dal programma"):
                    text = find(box, "label")
                    raise Failure(f"a box opened after 'Sì' with no record: {box.get_name()!r}"
                                  f" reading {text.get_name() if text else None!r}")
            return False
        wait_for("the game to end with no record message", ended_quietly)
        after = "'Sì'"
    try:
        status = game.process.wait(timeout=WAIT)
    except subprocess.TimeoutExpired:
        raise Failure(f"the game did not end after {after}")
    check(status == 0, f"the game ended with status {status}")
    log("game over")


def _play(game, data, today_at_start):
    window = name_player(game, PLAYER)
    clock = label(window, CLOCK)

    # First question: the right fraction.
    question = read_question(game)
    numerator, denominator = expected_fraction(question)
    log(f"question {question}: answering {numerator}/{denominator}")
    window, next_button = answer(game, numerator, denominator)
    verdict = label(window, "Esito della risposta")
    check(verdict.get_name() == "Esatto, è incredibile!!!", f"verdict {verdict.get_name()!r}")
    check(counters(window) == ("1", "0", "1"), f"counters after a right answer: {counters(window)}")
    check(next_button.get_description().startswith("Esatto, è incredibile!!! Risposte esatte 1,"),
          f"'Nuovo calcolo' tells {next_button.get_description()!r}")
    wait_for("the verdict announced", lambda: heard(game, "Esito della risposta",
                                                    "Esatto, è incredibile!!!"), 5)
    wait_for("the count announced", lambda: heard(game, "Risposte esatte", "1"), 5)

    # Second question: an unreduced fraction of the right value is wrong.
    game.key("Return")  # on 'Nuovo calcolo'
    second = wait_for("a new question", lambda: verdict.get_name() == "" and read_question(game))
    numerator, denominator = expected_fraction(second)
    log(f"question {second}: answering {2 * numerator}/{2 * denominator}")
    window, next_button = answer(game, 2 * numerator, 2 * denominator)
    wrong = f"Sbagliato!! {numerator} / {denominator}"
    check(verdict.get_name() == wrong, f"verdict {verdict.get_name()!r}, expected {wrong!r}")
    check(counters(window) == ("1", "1", "2"), f"counters after a wrong answer: {counters(window)}")
    wait_for("the wrong verdict announced", lambda: heard(game, "Esito della risposta", wrong), 5)
    check(next_button.get_description().startswith(wrong + " Risposte esatte 1, Risposte errate 1"),
          f"'Nuovo calcolo' tells {next_button.get_description()!r}")

    # A third question is posed and left unanswered.
    game.key("Return")
    third = wait_for("a third question", lambda: verdict.get_name() == "" and read_question(game))
    expected_fraction(third)
    check(counters(window) == ("1", "1", "2"), f"counters on a new question: {counters(window)}")
    log(f"question {third} posed")

    give_class(game, CLASS)

    # Leave with "Sì": one right answer beats the empty record.
    clock_before_exit = clock.get_name()
    leave(game, new_record=True)

    check_files(data, clock_before_exit, today_at_start)


def check_files(data, clock_before_exit, today_at_start):
    names = sorted(os.listdir(data))
    check(names == sorted([f"{CLASS}.txt", "velmora.txt", "velmora1.txt"]),
          f"data folder holds {names}")

    def content(name):
        with open(os.path.join(data, name), "rb") as f:
            return f.read()

    check(content("velmora.txt") == b"1\r\n", f"velmora.txt: {content('velmora.txt')!r}")
    holder = PLAYER.encode("latin-1") + b"\r\n"
    check(content("velmora1.txt") == holder, f"velmora1.txt: {content('velmora1.txt')!r}")

    log_bytes = content(f"{CLASS}.txt")
    # The clock went on while the boxes were open: the time left is at most what was last
    # read and a little less; the date is the day the game started (or the next day when
    # the run spans midnight), in the Italian short form with the full year.
    match = re.fullmatch(rb'Nome:  .* Risposte esatte 1  Risposte errate  1Tempo restante   '
                         rb'(00:1[0-5]:[0-5]\d)-"Data:  ([\d/.]+)\r\n', log_bytes)
    check(match is not None, f"{CLASS}.txt has no new-record line: {log_bytes!r}")
    time_left = match.group(1).decode()
    to_seconds = lambda hms: sum(int(p) * f for p, f in zip(hms.split(":"), (3600, 60, 1)))
    spent = to_seconds(clock_before_exit) - to_seconds(time_left)
    check(0 <= spent <= WAIT, f"time left {time_left} does not follow {clock_before_exit}")
    dates = {d.strftime(LOCALE["date"]) for d in
             (today_at_start, today_at_start + datetime.timedelta(days=1))}
    date = match.group(2).decode()
    check(date in dates, f"date {date} is not the day of the game ({sorted(dates)})")
    expected = (b"Nome:  " + PLAYER.encode("latin-1") + b" Risposte esatte 1  Risposte errate  1"
                + b"Tempo restante   " + time_left.encode() + b'-"Data:  ' + date.encode()
                + b"\r\n")
    check(log_bytes == expected, f"{CLASS}.txt: {log_bytes!r}, expected {expected!r}")
    log(f"files checked ({time_left}, {date})")


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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--solfira", required=True, help="the built solfira program")
    parser.add_argument("--locale", default="it_IT.UTF-8", choices=sorted(LOCALES),
                        help="the user's locale the game runs under")
    args = parser.parse_args()
    use_locale(args.locale)
    run_on_private_desktop([args.solfira], play)


if __name__ == "__main__":
    run_main(main)
