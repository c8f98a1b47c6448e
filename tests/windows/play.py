#!/usr/bin/python3
"""Plays a whole competition with the real solfira.exe under Wine, as a pupil at a Windows PC
would: keys into the focused window, and only what the screen shows read back.

The name prompt is answered, the greeting closed; the question is read off a screenshot (the
cyan box at the window's top left, read by tesseract), the right fraction typed, then an
unreduced one for the second question; the verdicts are read off the screen too. The class is
given from the menu (Alt+S, C), the game left with Alt+X and "Sì" (Alt+S), the record message
closed, and the program must end with status 0. Then the record files and the class log are
checked byte for byte in the folder where this user's game must keep them, and any folder
that must stay untouched is compared with what it held before.

Usage: play.py --exe WINDOWS_PATH --prefix DIR --data DIR --point SEP --date-order dmy|mdy
               [--user NAME] [--untouched DIR]
Needs a running X server ($DISPLAY), xdotool, ImageMagick and tesseract.
"""

import argparse
import datetime
import os
import re
import subprocess
import sys
import tempfile
import time
from decimal import Decimal
from fractions import Fraction

# The end-to-end tests' own failure, checks, log and polling, shared with the Linux runs.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from game_driver import Failure, check, log, poll  # noqa: E402

PLAYER = "Niccolò"  # 0xF2 in code page 1252
CLASS = "3A"
WAIT = 40.0  # seconds for anything to appear: Wine is slow to start on a loaded machine




def run(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=60).stdout


def xdotool(*args):
    return run("xdotool", *args)


def visible_windows():
    return set(xdotool("search", "--onlyvisible", "--name", ".").split())  # named ones only


def width(window):
    match = re.search(r"Geometry: (\d+)x", xdotool("getwindowgeometry", window))
    return int(match.group(1)) if match else 0


def wait_for(what, probe, timeout=WAIT):
    return poll(what, probe, timeout, interval=0.3)


class Screen:
    """The windows the game opens, as X sees them, and what they show."""

    def __init__(self, workdir):
        self.known = set()
        self.workdir = workdir
        self.shots = 0

    def new_window(self, what, large=False):
        """Waits for a window not seen before, a box or (`large`) a main window, and focuses
        it."""
        def appeared():
            for window in sorted(visible_windows() - self.known, key=int, reverse=True):
                if (width(window) >= 600) == large:
                    return window
            return None
        window = wait_for(what, appeared)
        self.known.add(window)
        time.sleep(0.5)  # let Wine paint it
        self.focus(window)
        return window

    def gone(self, window, what):
        wait_for(what, lambda: window not in visible_windows())

    def focus(self, window):
        xdotool("windowfocus", "--sync", window)

    def shot(self, window, name):
        self.shots += 1
        path = os.path.join(self.workdir, f"{self.shots:02d}-{name}.png")
        subprocess.run(["import", "-window", window, path], check=True, timeout=60)
        return path

    def text(self, window, name):
        """All the text tesseract reads in the window, on one line."""
        path = self.shot(window, name)
        big = path.replace(".png", "-big.png")
        subprocess.run(["convert", path, "-filter", "Lanczos", "-resize", "400%", "-colorspace",
                        "Gray", "-level", "20%,80%", big], check=True)
        out = run("tesseract", big, "-", "--psm", "11", "-l", "ita")
        return " ".join(out.split())

    def red_text(self, window, name):
        """The red text in the window (the verdict), read on its own, on one line."""
        path = self.shot(window, name)
        red = path.replace(".png", "-red.png")
        subprocess.run(["convert", path, "-fuzz", "25%", "-fill", "white", "+opaque", "#FF0000",
                        "-fill", "black", "-opaque", "#FF0000", red], check=True)
        return " ".join(run("tesseract", red, "-", "--psm", "11", "-l", "ita").split())

    def question(self, window):
        """The decimal number in the cyan box at the window's top left."""
        path = self.shot(window, "question")
        width, height = map(int, run("identify", "-format", "%w %h", path).split())
        corner = path.replace(".png", "-corner.png")
        subprocess.run(["convert", path, "-crop", f"{width // 3}x{height // 4}+0+0", "+repage",
                        corner], check=True)
        # The cyan box's extent: everything else blacked out, then trimmed to what is left.
        box = run("convert", corner, "-fuzz", "4%", "-fill", "black", "+opaque", "#00FFFF",
                  "-format", "%@", "info:")
        match = re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)", box.strip())
        check(match, f"no cyan question box on screen ({box!r})")
        w, h, x, y = map(int, match.groups())
        crop = path.replace(".png", "-box.png")
        subprocess.run(["convert", corner, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-fuzz",
                        "4%", "-fill", "white", "-opaque", "#00FFFF", "-colorspace", "Gray", "-threshold", "60%", "-bordercolor", "white",
                        "-border", "20", crop], check=True)
        text = run("tesseract", crop, "-", "--psm", "7", "-l", "eng", "-c",
                   "tessedit_char_whitelist=0123456789,.")
        return text.strip()


def keys(*names):
    xdotool("key", "--delay", "80", *names)


def typed(text):
    xdotool("type", "--delay", "80", text)


def fraction_of(question, point):
    check(re.fullmatch(rf"[1-8]{re.escape(point)}\d{{1,2}}", question),
          f"question {question!r} is not a decimal number from 1 to 9 with {point!r}")
    value = Fraction(Decimal(question.replace(point, ".")))
    return value.numerator, value.denominator


def answer(screen, window, numerator, denominator, expected, name):
    screen.focus(window)
    typed(str(numerator))
    keys("Return")
    typed(str(denominator))
    keys("Return")
    time.sleep(0.8)
    shown = screen.red_text(window, name)
    check(re.search(expected, shown), f"after {numerator}/{denominator} the window shows "
                                      f"{shown!r}, not {expected!r}")
    log(f"{numerator}/{denominator}: the window shows {expected}")


def play(args, screen):
    command = ["wine", args.exe]
    if args.user:
        command = ["runuser", "-u", args.user, "--", "env", f"WINEPREFIX={args.prefix}",
                   f"HOME={os.path.expanduser('~' + args.user)}", f"DISPLAY={os.environ['DISPLAY']}",
                   f"LC_ALL={os.environ['LC_ALL']}", "WINEDEBUG=-all",
                   "WINEDLLOVERRIDES=mscoree,mshtml=", *command]
    screen.known = visible_windows()
    game = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        prompt = screen.new_window("the name prompt")
        shown = screen.text(prompt, "name-prompt")
        check("Come ti chiami" in shown and "Annulla" in shown,
              f"the name prompt shows {shown!r}")
        typed(PLAYER)
        keys("Return")
        screen.gone(prompt, "the name prompt to close")

        greeting = screen.new_window("the greeting")
        shown = screen.text(greeting, "greeting")
        check("vediamo se sei un vero campione" in shown,
              f"the first box after the name is not the greeting: {shown!r}")
        keys("Return")
        screen.gone(greeting, "the greeting to close")

        window = screen.new_window("the game window", large=True)
        time.sleep(1.0)
        question = screen.question(window)
        numerator, denominator = fraction_of(question, args.point)
        log(f"question {question}")
        answer(screen, window, numerator, denominator, r"Esatto", "right")
        keys("Return")  # 'Nuovo calcolo'
        time.sleep(0.8)
        second = screen.question(window)
        numerator, denominator = fraction_of(second, args.point)
        log(f"question {second}")
        answer(screen, window, 2 * numerator, 2 * denominator,
               rf"Sbagliato.*{numerator} ?/ ?{denominator}", "wrong")
        keys("Return")

        screen.focus(window)
        keys("alt+s", "c")
        class_prompt = screen.new_window("the class prompt")
        typed(CLASS)
        keys("Return")
        screen.gone(class_prompt, "the class prompt to close")
        shown_class = screen.new_window("the class message")
        keys("Return")
        screen.gone(shown_class, "the class message to close")

        screen.focus(window)
        keys("alt+x")
        question_box = screen.new_window("the exit question")
        shown = screen.text(question_box, "exit-question")
        check(re.search(r"Vuoi veramente lasciarmi", shown) and re.search(r"\bS[iì]\b", shown)
              and re.search(r"\bNo\b", shown), f"the exit question shows {shown!r}")
        keys("alt+s")
        champion = screen.new_window("the record message")
        shown = screen.text(champion, "record")
        check(re.search(r"registrato il tuo record.*C ?A ?M ?P ?I ?O ?N ?E", shown),
              f"the record message shows {shown!r}")
        keys("Return")
        status = game.wait(timeout=WAIT)
        check(status == 0, f"the game ended with status {status}")
        log("the game ended")
    finally:
        if game.poll() is None:
            game.kill()


def check_files(args, today):
    names = sorted(os.listdir(args.data)) if os.path.isdir(args.data) else []
    wanted = sorted([f"{CLASS}.txt", "velmora.txt", "velmora1.txt"])
    check(set(wanted) <= set(names), f"{args.data} holds {names}, not {wanted}")

    def content(name):
        with open(os.path.join(args.data, name), "rb") as f:
            return f.read()

    check(content("velmora.txt") == b"1\r\n", f"velmora.txt: {content('velmora.txt')!r}")
    holder = PLAYER.encode("cp1252") + b"\r\n"
    check(content("velmora1.txt") == holder, f"velmora1.txt: {content('velmora1.txt')!r}")
    line = content(f"{CLASS}.txt")
    match = re.fullmatch(rb'Nome:  ' + re.escape(PLAYER.encode("cp1252")) +
                         rb' Risposte esatte 1  Risposte errate  1Tempo restante   '
                         rb'00:1[0-5]:[0-5]\d-"Data:  ([\d/.]+)\r\n', line)
    check(match, f"{CLASS}.txt: {line!r}")
    d, m, y = today.day, today.month, today.year
    forms = ([f"{d}/{m}/{y}", f"{d:02}/{m:02}/{y}"] if args.date_order == "dmy"
             else [f"{m}/{d}/{y}", f"{m:02}/{d:02}/{y}"])
    check(match.group(1).decode() in forms, f"date {match.group(1)!r} is not one of {forms}")
    log(f"files checked in {args.data}")


def listing(folder):
    """The files directly in `folder` (where the game would put its own), with their times."""
    found = {}
    for entry in os.scandir(folder):
        if not entry.is_dir(follow_symlinks=False):
            found[entry.name] = entry.stat(follow_symlinks=False).st_mtime_ns
    return found


def run_steps(shots, steps):
    """Runs steps(screen) with the screenshots kept in `shots` (or thrown away); prints PASSED
    or the failure, and returns the exit status."""
    with tempfile.TemporaryDirectory() as scratch:
        if shots:
            os.makedirs(shots, exist_ok=True)
        try:
            steps(Screen(shots or scratch))
        except Failure as failure:
            print(f"FAIL {failure}", flush=True)
            return 1
    print("PASSED", flush=True)
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--point", required=True)
    parser.add_argument("--date-order", choices=["dmy", "mdy"], required=True)
    parser.add_argument("--user")
    parser.add_argument("--untouched")
    parser.add_argument("--shots", help="folder to keep the screenshots in")
    args = parser.parse_args()
    before = listing(args.untouched) if args.untouched else None
    today = datetime.date.today()

    def steps(screen):
        play(args, screen)
        check_files(args, today)
        if before is not None:
            after = listing(args.untouched)
            check(after == before, f"{args.untouched} changed: "
                  f"{sorted(set(after.items()) ^ set(before.items()))[:5]}")
            log(f"{args.untouched} untouched")

    return run_steps(args.shots, steps)

if __name__ == "__main__":
    sys.exit(main())
