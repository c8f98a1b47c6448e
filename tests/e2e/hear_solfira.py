#!/usr/bin/python3
"""Plays a whole competition by ear: the real screen reader reads the game, the keyboard plays it.

On a private desktop (tests/e2e/desktop.py) a speech server (speech-dispatcher with espeak-ng,
sound to a null device) and the screen reader Orca are started, then the game under the real
Italian locale. The pupil uses the keyboard only (xdotool keys into the focused window) and
acts only on what was spoken: every step waits for Orca's words, read from the speech
server's log, which holds each message as Orca queues it. The transcript must hold, in order:
the name prompt, the greeting, the first question with the time left, the record and the
challenger, a right answer's verdict with the three counters, the second question after
Enter on "Nuovo calcolo", a wrong answer's verdict with the right fraction, the exit
question with its buttons and the new record. The hidden working fields and the hidden
solution are never spoken. On failure the transcript is printed.

Orca is started through its own modules rather than its launcher: the launcher refuses to
start while any other Orca of the same user runs, and with --replace kills them all; this
copy has no process name of its own, so runs on the same machine cannot see each other.

Usage: hear_solfira.py --solfira PATH [--transcript FILE]   (exit status 0: passed; gives up
after 90 s). Needs Debian's /usr/bin/python3 with orca, speech-dispatcher,
speech-dispatcher-espeak-ng, espeak-ng, libao4 and what play_solfira.py needs.
"""

import argparse
import html
import os
import re
import subprocess
import sys
from decimal import Decimal
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop  # noqa: E402
import game_driver as drive  # noqa: E402
from game_driver import Failure, check, log  # noqa: E402

PLAYER = "Niccolò"
WAIT = 20.0  # seconds for anything to be spoken; generous for a loaded machine
TIME_LIMIT = 90

# Orca as its launcher starts it, without the check for other copies of it.
ORCA = """
import sys
from orca import orca
manager = orca.getSettingsManager()
manager.activate(None, {})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
"""


class Speech:
    """speech-dispatcher on the desktop, logging every message it is given."""

    def __init__(self, desktop):
        self.desktop = desktop
        home = desktop.env["HOME"]
        config = os.path.join(desktop.env["XDG_CONFIG_HOME"], "speech-dispatcher")
        os.makedirs(config)
        with open(os.path.join(config, "speechd.conf"), "w") as f:
            f.write('AudioOutputMethod "libao"\nDefaultModule espeak-ng\n'
                    'DefaultLanguage "it"\nAddModule "espeak-ng" "sd_espeak-ng" '
                    '"espeak-ng.conf"\n')
        with open(os.path.join(home, ".libao"), "w") as f:
            f.write("default_driver=null\n")
        self.log_dir = os.path.join(desktop.root, "speech-log")
        os.makedirs(self.log_dir)
        self.log_file = os.path.join(self.log_dir, "speech-dispatcher.log")
        self.process = desktop.start("speech-dispatcher",
                                     ["speech-dispatcher", "-s", "-t", "0", "-l", "5",
                                      "-L", self.log_dir],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        socket = os.path.join(desktop.env["XDG_RUNTIME_DIR"], "speech-dispatcher",
                              "speechd.sock")
        self.until("the speech server's socket", lambda: os.path.exists(socket))

    def ensure_running(self):
        code = self.process.poll()
        check(code is None, f"speech-dispatcher ended with status {code}")

    def lines(self):
        """What was spoken so far, one entry per message, markup removed."""
        try:
            with open(self.log_file, encoding="utf-8", errors="replace") as f:
                text = f.read()
        except FileNotFoundError:
            return []
        spoken = []
        for message in re.findall(r"Queueing message \|(.*?)\| with priority", text, re.S):
            message = re.sub(r"<[^>]*>", "", message)
            message = " ".join(html.unescape(message).split())
            if message:
                spoken.append(message)
        return spoken

    def until(self, what, probe, timeout=WAIT):
        return drive.poll(what, probe, timeout)


class Ear:
    """Follows the transcript: each wait looks at what was spoken after the last one heard."""

    def __init__(self, speech):
        self.speech = speech
        self.heard = 0  # lines already consumed

    def mark(self):
        self.heard = len(self.speech.lines())

    def wait(self, what, pattern, timeout=WAIT):
        """The first line after the last heard one that matches `pattern` (a regex); every line
        up to it counts as heard."""
        regex = re.compile(pattern)

        def probe():
            self.speech.ensure_running()
            lines = self.speech.lines()
            for i in range(self.heard, len(lines)):
                match = regex.search(lines[i])
                if match:
                    self.heard = i + 1
                    return match
            return None
        try:
            return self.speech.until(f"Orca to say {what} ({pattern!r})", probe, timeout)
        except Failure as failure:
            raise Failure(f"{failure}; said since the last step: "
                          f"{self.speech.lines()[self.heard:]}")


class Keyboard:
    def __init__(self, desktop, game):
        self.desktop = desktop
        self.game = game

    def xdotool(self, *args):
        return drive.run_xdotool(self.desktop.env, *args)

    def focus_window(self, title, not_in=()):
        """Gives the keyboard focus to the game's window titled `title` (and not one of
        `not_in`), as a window manager gives it to a window that opens (there is none here);
        returns its id."""
        pattern = f"^{re.escape(title)}$"

        def probe():
            drive_code = self.game.poll()
            check(drive_code is None, f"the game ended with status {drive_code}")
            out = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid",
                                  str(self.game.pid), "--name", pattern],
                                 env=self.desktop.env, capture_output=True, text=True)
            ids = [i for i in out.stdout.split() if i not in not_in]
            return ids[-1] if ids else None
        xid = Speech.until(None, f"the window {title!r}", probe)
        self.xdotool("windowfocus", "--sync", xid)
        return xid

    def key(self, *keys):
        self.xdotool("key", "--delay", "60", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "60", text)


def fraction_of(question):
    check(re.fullmatch(r"[1-8],\d{1,2}", question), f"question {question!r} is not a decimal "
                                                       "number from 1 to 9 with a comma")
    value = Fraction(Decimal(question.replace(",", ".")))
    return value.numerator, value.denominator


QUESTION = r"Scrivi (\d,\d\d?) come frazione ridotta ai minimi termini"


def play(desktop, solfira, data):
    drive.require_real_locale()
    speech = Speech(desktop)
    ear = Ear(speech)
    locale = {"LANG": "it_IT.UTF-8", "LC_ALL": "it_IT.UTF-8"}
    if os.environ.get("LOCPATH"):
        locale["LOCPATH"] = os.environ["LOCPATH"]
    desktop.start("orca", ["/usr/bin/python3", "-c", ORCA], env=locale,
                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    ear.wait("that it is ready", r"^Lettore schermo attivo")
    log("Orca is ready")

    env = dict(drive.GAME_ENV, **locale)
    game = desktop.start("solfira", [solfira, "--data-dir", data], env=env,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    keys = Keyboard(desktop, game)
    try:
        _play(ear, keys)
    finally:
        transcript = speech.lines()
        if transcript_file:
            with open(transcript_file, "w") as f:
                f.write("\n".join(transcript) + "\n")
        if sys.exc_info()[0] is not None:
            log("Orca said:\n  " + "\n  ".join(transcript))


def _play(ear, keys):
    # The name prompt opens with the focus in its box.
    prompt = keys.focus_window("Solfira")
    ear.wait("the name prompt", r"^Come ti chiami\? testo")
    keys.type(PLAYER)
    keys.key("Return")

    # The greeting.
    keys.focus_window("Solfira", not_in={prompt})
    ear.wait("the greeting", "^" + re.escape(f"{PLAYER} vediamo se sei un vero campione"))
    keys.key("Return")

    # The first question, with the time left, the challenger and the record, as the focus
    # lands in the numerator box.
    keys.focus_window("Virelba")
    ear.wait("the numerator box", r"^Numeratore testo")
    first = ear.wait("the first question", "^" + QUESTION + re.escape(
        f". Tempo restante: 15 minuti. Sfidante: {PLAYER}. Ancora nessun record. "
        "Scrivi il numeratore, poi premi Invio.") + "$").group(1)
    log(f"first question {first}")
    numerator, denominator = fraction_of(first)
    solutions = [f"{numerator}/{denominator}"]
    answer(ear, keys, numerator, denominator)
    ear.wait("the right verdict with the counters", "^" + re.escape(
        "Esatto, è incredibile!!! Risposte esatte 1, Risposte errate 0, Risposte totali 1."))

    # The second question, asked for with Enter on "Nuovo calcolo": the time left, no more
    # the record.
    keys.key("Return")
    ear.wait("the numerator box", r"^Numeratore testo")
    second = ear.wait("the second question", "^" + QUESTION
                      + r"\. Tempo restante: 1[45] minuti( e \d\d? second[oi])?\. "
                      + re.escape("Scrivi il numeratore, poi premi Invio.") + "$").group(1)
    log(f"second question {second}")
    numerator, denominator = fraction_of(second)
    solutions.append(f"{numerator}/{denominator}")
    answer(ear, keys, 2 * numerator, 2 * denominator)
    ear.wait("the wrong verdict with the right fraction", "^" + re.escape(
        f"Sbagliato!! {numerator} / {denominator} Risposte esatte 1, "
        "Risposte errate 1, Risposte totali 2."))

    # Exit (Alt+X) and its question; "No" has the focus, Tab reaches "Sì", which records the
    # new record.
    keys.key("alt+x")
    question = keys.focus_window("Uscire dal programma")
    ear.wait("the exit question", r"^allerta Uscire dal programma")
    ear.wait("the exit question's text", r"^Vuoi veramente lasciarmi \?$")
    ear.wait("the button in focus", r"^No pulsante")
    keys.key("Tab")
    ear.wait("the other button", r"^Sì pulsante")
    keys.key("space")
    keys.focus_window("Solfira", not_in={question})
    ear.wait("the new record", r"^Ok ho registrato il tuo record, C A M P I O N E")
    keys.key("Return")
    ear.speech.until("the game to end", lambda: keys.game.poll() is not None)
    check(keys.game.returncode == 0, f"the game ended with status {keys.game.returncode}")

    # What must never be heard: the hidden working fields (only the three named boxes are
    # ever read as text boxes), the hidden solution, and the record more than once.
    said = ear.speech.lines()
    boxes = [line for line in said if line.endswith(" testo.") or line == "testo."]
    check(set(boxes) <= {"Come ti chiami? testo.", "Numeratore testo.", "Denominatore testo."},
          f"text boxes read: {boxes}")
    for line in said:
        check("Text4" not in line and not any(s in line.replace(" ", "") for s in solutions)
              or line.startswith("Sbagliato!!"),
              f"a hidden field or the hidden solution was read: {line!r}")
    records = [line for line in said if "record" in line and "Sfidante" in line]
    check(len(records) == 1, f"the record was told {len(records)} times")


def answer(ear, keys, numerator, denominator):
    """Types a fraction as a pupil does: numerator, Enter, denominator, Enter."""
    keys.type(str(numerator))
    keys.key("Return")
    ear.wait("the denominator box", r"^Denominatore testo")
    keys.type(str(denominator))
    keys.key("Return")
    ear.wait("the new-question button", r"^Nuovo calcolo pulsante")


transcript_file = None


def main():
    global transcript_file
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--solfira", required=True, help="the built solfira program")
    parser.add_argument("--transcript", help="also write what Orca said to this file")
    args = parser.parse_args()
    transcript_file = args.transcript
    solfira = os.path.abspath(args.solfira)
    check(os.access(solfira, os.X_OK), f"{solfira} is not a program")
    drive.give_up_after(TIME_LIMIT)
    with Desktop() as desktop:
        desktop.bind_keysyms(["egrave", "eacute", "agrave", "igrave", "ograve", "ugrave"])
        data = os.path.join(desktop.root, "data")
        os.mkdir(data)
        log(f"desktop {desktop.display} ready")
        play(desktop, solfira, data)
    log("passed")


if __name__ == "__main__":
    drive.run_main(main)
