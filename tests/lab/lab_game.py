"""One game on one simulated PC, played as a pupil plays it: read over AT-SPI, keys pressed
through the X server on the widget given the focus (tests/e2e/play_solfira.py's steps), each
checked to take effect. The PCs' "Sì" are pressed with the space bar sent to each exit
question's window, all in one xdotool run, as a room of pupils presses them together.

Which window belongs to which PC is asked of the X server (lab_pcs.Windows), and so is whether
a box opened: a game busy storing its result does not answer AT-SPI until it is done, and
the lab must not wait on it to see the others.
"""

import os
import re
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import game_driver as drive  # noqa: E402
import play_solfira as pupil  # noqa: E402
from game_driver import Failure, check, find, log, wait_for  # noqa: E402

RECORD_TEXT = 'Ok ho registrato il tuo record, C A M P I O N E"'
BUSY_WORDS = "riprova tra poco"
EXIT_TITLE = "Uscire dal programma"
BOX_TITLE = "Solfira"
AGAIN = 5  # seconds after which a key that did nothing is pressed again


def press_yes(groups, pause=0.05):
    """Presses "Sì" on each game's exit question with the space bar, sent to the question's
    window as that PC's own keyboard would (one keyboard focus for all the PCs could not
    follow a room of pupils), a group of games at a time, `pause` seconds between groups:
    one xdotool run, so that the presses follow each other as fast as the X server takes
    them. Each game's press is counted from the start, which can only make its wait look
    longer. The seconds from first to last press."""
    steps = []
    for group in groups:
        if steps:
            steps += ["sleep", str(pause)]
        for game in group:
            steps += ["key", "--window", game.yes, "space"]
    desktop = groups[0][0].desktop
    started = time.monotonic()
    drive.run_xdotool(desktop.env, *steps)
    spread = time.monotonic() - started
    for group in groups:
        for game in group:
            game.presses.append(started)
            game.yes = None
    return spread


_A11Y = None  # a connection of our own to the accessibility bus, for presses sent unanswered


def activate(accessible):
    """Presses a button as a screen reader does (its first action), without waiting for the
    answer: the program answers only once a box that the press opens is closed again."""
    global _A11Y
    from gi.repository import Gio
    if _A11Y is None:
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                    "GetAddress", None, None, Gio.DBusCallFlags.NONE, 5000,
                                    None).unpack()[0]
        _A11Y = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    message = Gio.DBusMessage.new_method_call(accessible.app.bus_name, accessible.path,
                                              "org.a11y.atspi.Action", "DoAction")
    message.set_body(drive.GLib.Variant("(i)", (0,)))
    message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
    _A11Y.send_message(message, Gio.DBusSendMessageFlags.NONE)


class PCProcess:
    """What game_driver.Program needs of a process, for a program run on a lab PC: its id as
    this machine (and so the accessibility bus) numbers it; it has ended when its PC has."""

    def __init__(self, pc, pid):
        self.pc = pc
        self.pid = pid
        self.stderr = None

    def poll(self):
        return self.pc.unshare.poll()

    def wait(self, timeout=None):
        return self.pc.wait(timeout)

    @property
    def returncode(self):
        return self.pc.unshare.returncode


class LabProgram(drive.Program):
    def __init__(self, desktop, pc, pid, windows):
        super().__init__(desktop, PCProcess(pc, pid), pc.host)
        self.pc = pc
        self.windows = windows

    def window_id(self, pattern, what):
        def probe():
            ids = [xid for xid, host, title in self.windows.on_screen()
                   if host == self.pc.host and re.search(pattern, title)]
            return str(ids[-1]) if ids else None
        return wait_for(f"{what} of {self.pc.host}", probe)

    def point_at(self, title, widget):
        """Gives `widget`, in this PC's top-level window titled `title`, the focus within its
        window, and returns the window's id for keys sent to it. Another PC's box that opens
        takes the X server's one keyboard focus for itself (there is no window manager to
        refuse it), so the focus is asked again until it holds; what happens to the X focus
        afterwards no longer matters to keys sent to the window."""
        xid = self.xid(title)
        deadline = time.monotonic() + drive.WAIT
        while True:
            self.xdotool("windowfocus", "--sync", xid)
            widget.grab_focus()
            try:
                wait_for(f"the focus on {widget.get_name()!r}",
                         lambda: drive.has_state(widget, drive.Atspi.StateType.FOCUSED), 2)
                return xid
            except Failure:
                if time.monotonic() > deadline:
                    raise

    def press_until(self, title, widget, key, what, done):
        """Presses `key` (through the X server, as a keyboard does) on `widget`, focused in
        this PC's window titled `title`, until `done()`. On this X server with a dozen
        programs on the accessibility bus a key press now and then never reaches the program
        (its release does): when nothing has happened after a while and the widget is still
        there, the key is pressed again, as a pupil would, and counted."""
        deadline = time.monotonic() + drive.WAIT
        while True:
            self.point_at(title, widget)
            self.key(key)
            try:
                return wait_for(what, done, AGAIN)
            except Failure:
                check(time.monotonic() < deadline, f"{self.pc.host}: timed out waiting for {what}")
            # The press may have been slow, not lost: look once more before pressing again.
            drive.pump()
            value = done()
            if value:
                return value
            self.pressed_again += 1
            log(f"{self.pc.host}: {key} on {widget.get_name()!r} did nothing; pressing again")

    def fill_prompt(self, what, field_name, text):
        """Types `text` into the box named `field_name` of the prompt `what`, then Enter."""
        prompt = self.wait_box("dialog", what)
        field = find(prompt, "text", name=field_name)
        check(field is not None, f"{what} has no box named {field_name!r}")
        self.point_at(prompt.get_name(), field)
        self.type_into(field, text)
        self.press_until(prompt.get_name(), field, "Return", f"{what} to close",
                         lambda: prompt not in self.open_boxes())

    def close_message(self, what, expected):
        """Checks that the message box `what` says `expected`, then presses its OK."""
        box = self.wait_box("alert", what)
        text = find(box, "label")
        check(text is not None and text.get_name() == expected,
              f"{what} reads {text.get_name() if text else None!r}")
        self.press_until(box.get_name(), find(box, "push button", name="OK"), "Return",
                         f"{what} to close", lambda: box not in self.open_boxes())


class Game(LabProgram):
    """A pupil's game: `right` and `wrong` answers, then the class, then "Exit"."""

    def __init__(self, desktop, pc, pid, windows, player, class_name, right, wrong):
        super().__init__(desktop, pc, pid, windows)
        self.player = player
        self.class_name = class_name
        self.right = right
        self.wrong = wrong
        self.yes = None  # the X window of the open exit question, its "Sì" in focus
        self.presses = []  # monotonic times "Sì" was pressed
        self.busy = 0  # "riprova tra poco" messages seen
        self.new_record = False
        self.ended = None  # monotonic time the result was stored (record message or exit)
        self.killed = False
        self.entered = None  # monotonic time it first opened a file of the game after "Sì"
        self.handled = set()  # boxes already answered, by window id
        self.pressed_again = 0  # keys pressed again after they did nothing

    def play(self):
        """The pupil's name, the answers, the class: play_solfira.py's steps."""
        self.fill_prompt("the name prompt", "Come ti chiami?", self.player)
        self.close_message("the greeting", f" {self.player} vediamo se sei un vero campione  ")
        window = wait_for("the game window on screen", lambda: (
            lambda f: f if f and drive.showing(f) else None)(find(self.app, "frame")))
        title = window.get_name()
        verdict = pupil.label(window, "Esito della risposta")
        upper = find(window, "text", name="Numeratore")
        lower = find(window, "text", name="Denominatore")
        next_button = find(window, "push button", name="Nuovo calcolo")
        focused = drive.Atspi.StateType.FOCUSED
        for i in range(self.right + self.wrong):
            if i:
                self.press_until(title, next_button, "Return", "a new question",
                                 lambda: verdict.get_name() == "" and pupil.read_question(self))
            numerator, denominator = pupil.expected_fraction(pupil.read_question(self))
            if i >= self.right:
                numerator += 1  # a wrong value
            # Enter in the numerator moves on to the denominator, as the game does.
            self.point_at(title, upper)
            self.type_into(upper, str(numerator))
            self.press_until(title, upper, "Return", "the focus in the denominator box",
                             lambda: drive.has_state(lower, focused))
            self.type_into(lower, str(denominator))
            self.press_until(title, lower, "Return", "the verdict", lambda: verdict.get_name())
        counts = (str(self.right), str(self.wrong), str(self.right + self.wrong))
        check(pupil.counters(window) == counts,
              f"{self.pc.host}: counters {pupil.counters(window)}, expected {counts}")
        self.give_class(window)

    def give_class(self, window):
        """The class from the menu "Solfira" > "Classe", with the keyboard: Alt+S, C."""
        self.press_until(window.get_name(), find(window, "push button", name="Nuovo calcolo"),
                         "alt+s", "the menu 'Solfira' open",
                         lambda: find(self.app, "menu item", name="Classe"))
        self.key("c")
        self.fill_prompt("the class prompt", "Classe?", self.class_name)
        self.close_message("the class message", f" Classe  {self.class_name}")

    def ask_exit(self, keyboard=True):
        """Presses "Exit" until its question is open (a second Enter that arrives late
        answers the question "No": then "Exit" is pressed again), moves the focus to its
        "Sì" and keeps the question's window for the key that answers it; returns "Sì".
        Without `keyboard`, "Exit" is pressed as a screen reader presses it."""
        window = self.main_window()
        exit_button = find(window, "push button", name="Exit")
        while not self.open_boxes():
            if keyboard:
                self.press_until(window.get_name(), exit_button, "Return",
                                 "the exit question", lambda: self.open_boxes())
            else:
                activate(exit_button)
                wait_for("the exit question", lambda: self.open_boxes())
            time.sleep(0.3)
        box = self.wait_box("alert", "the exit question")
        yes = find(box, "push button", name="Sì")
        check(yes is not None, f"{self.pc.host}: the exit question has no 'Sì'")
        self.yes = self.point_at(EXIT_TITLE, yes)
        return yes

    def waited(self):
        return self.ended - self.presses[0]

    def follow(self, shown, now):
        """One look at the game after "Sì": answers a box that opened, as a pupil does (OK;
        after "riprova tra poco", "Exit" and "Sì" again). Whether it is still going."""
        if self.killed:
            return False
        if self.process.poll() is not None:
            check(self.process.returncode == 0,
                  f"{self.pc.host} ended with status {self.process.returncode}")
            self.ended = self.ended or now
            return False
        boxes = [xid for xid, host, title in shown
                 if host == self.pc.host and title == BOX_TITLE and xid not in self.handled]
        if not boxes:
            return True
        # The game answers again: it opened a box.
        box = wait_for(f"the box of {self.pc.host}",
                       lambda: next(iter(self.open_boxes()), None))
        label = wait_for("its text", lambda: find(box, "label"))
        ok = wait_for("its OK", lambda: find(box, "push button", name="OK"))
        text = label.get_name()
        self.handled.add(boxes[-1])
        if text == RECORD_TEXT:
            self.new_record = True
            self.ended = now
            ok.do_action(0)
        elif BUSY_WORDS in text:
            self.busy += 1
            ok.do_action(0)
            self.wait_no_box("the message to close")
            # "Exit" and "Sì" pressed as a screen reader presses them: while the other PCs'
            # messages come and go, each taking the X server's one keyboard focus, a key
            # could reach another PC's box.
            yes = self.ask_exit(keyboard=False)
            self.presses.append(time.monotonic())
            yes.do_action(0)
            self.yes = None
        else:
            raise Failure(f"{self.pc.host} says {text!r}")
        return True
