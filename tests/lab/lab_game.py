"""One game on one simulated PC, played as a pupil plays it: read over AT-SPI, keys typed
with xdotool into the focused window (tests/e2e/play_solfira.py's steps), "Sì" pressed as a
screen reader presses a button.

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
from game_driver import Failure, check, find, wait_for  # noqa: E402

RECORD_TEXT = 'Ok ho registrato il tuo record, C A M P I O N E"'
BUSY_WORDS = "riprova tra poco"
EXIT_TITLE = "Uscire dal programma"
BOX_TITLE = "Solfira"


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

    def play(self):
        pupil.name_player(self, self.player)
        window = self.main_window()
        verdict = pupil.label(window, "Esito della risposta")
        for i in range(self.right + self.wrong):
            if i:
                self.key("Return")  # on "Nuovo calcolo"
                wait_for("a new question",
                         lambda: verdict.get_name() == "" and pupil.read_question(self))
            numerator, denominator = pupil.expected_fraction(pupil.read_question(self))
            if i >= self.right:
                numerator += 1  # a wrong value
            pupil.answer(self, numerator, denominator)
        counts = (str(self.right), str(self.wrong), str(self.right + self.wrong))
        check(pupil.counters(window) == counts,
              f"{self.pc.host}: counters {pupil.counters(window)}, expected {counts}")
        pupil.give_class(self, self.class_name)

    def ask_exit(self):
        """Presses "Exit" with the keyboard and moves the focus to the "Sì" of the question
        that opens; the question's window, for the key that answers it."""
        window = self.main_window()
        self.focus(window, find(window, "push button", name="Exit"))
        self.key("Return")
        box = self.wait_box("alert", "the exit question")
        yes = find(box, "push button", name="Sì")
        check(yes is not None, f"{self.pc.host}: the exit question has no 'Sì'")
        self.focus(box, yes)
        self.yes = self.xid(EXIT_TITLE)

    def press_yes(self):
        press_yes([[self]])

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
            self.ask_exit()
            self.press_yes()
        else:
            raise Failure(f"{self.pc.host} says {text!r}")
        return True
