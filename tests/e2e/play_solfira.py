#!/usr/bin/python3
"""Plays the built game the way a pupil does, through what a screen reader sees.

On a private desktop (tests/e2e/desktop.py) it starts the game with an empty data folder,
answers the name prompt, reads the greeting and the question over AT-SPI, types the right
fraction, then an unreduced one, opens a new question, gives the class, leaves with "Sì" and
checks the record files and the class log byte for byte. Keys are typed with xdotool into
the focused window, as a keyboard would; AT-SPI is used to read and to move the focus.

Its steps (reading the question, answering, naming the player, giving the class, leaving)
also serve read_register.py and shared_folder.py.

Usage: play_solfira.py --solfira PATH      (exit status 0: passed; gives up after 90 s)
Needs Debian's /usr/bin/python3 with python3-gi, gir1.2-atspi-2.0, and xvfb, xdotool,
dbus-daemon, at-spi2-core.
"""

import argparse
import datetime
import os
import re
import subprocess
import sys
import time
from decimal import Decimal
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import game_driver as drive  # noqa: E402
from game_driver import (LOCALES, WAIT, Failure, check, children, find,  # noqa: E402
                         has_state, log, require_real_locale, run_main, run_on_private_desktop,
                         showing, started, text_of, use_locale, wait_for)

PLAYER = "Niccolò"  # a letter outside ASCII: the files are single-byte Latin-1
CLASS = "3A"


def play(desktop, solfira, data):
    require_real_locale()
    today_at_start = datetime.date.today()
    with started(desktop, [solfira, "--data-dir", data]) as game:
        _play(game, data, today_at_start)


def expected_fraction(question):
    point = drive.LOCALE["point"]
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
             lambda: has_state(upper, drive.Atspi.StateType.FOCUSED))
    game.type_into(upper, str(numerator))
    game.key("Return")
    wait_for("the focus in the denominator box",
             lambda: has_state(lower, drive.Atspi.StateType.FOCUSED))
    game.type_into(lower, str(denominator))
    game.key("Return")
    next_button = find(window, "push button", name="Nuovo calcolo")
    wait_for("the focus on 'Nuovo calcolo'",
             lambda: has_state(next_button, drive.Atspi.StateType.FOCUSED))
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


CLOCK = "Tempo restante della gara, in ore, minuti e secondi"


def fill_prompt(game, what, field_name, text):
    """Types `text` into the box named `field_name` of the prompt `what`, then Return."""
    prompt = game.wait_box("dialog", what)
    field = find(prompt, "text", name=field_name)
    check(field is not None, f"{what} has no box named {field_name!r}")
    game.focus(prompt, field)
    game.type_into(field, text)
    game.key("Return")


def close_message(game, what, expected):
    """Checks that the message box `what` says `expected`, then closes it with its OK."""
    box = game.wait_box("alert", what)
    text = find(box, "label")
    check(text is not None and text.get_name() == expected,
          f"{what} reads {text.get_name() if text else None!r}")
    game.focus(box, find(box, "push button", name="OK"))
    game.key("Return")
    game.wait_no_box(f"{what} to close")


def data_files(data, class_name):
    """The contents of the data folder's files by name, checked to be the two record files
    and the class log and nothing else."""
    names = sorted(os.listdir(data))
    check(names == sorted([f"{class_name}.txt", "velmora.txt", "velmora1.txt"]),
          f"data folder holds {names}")
    files = {}
    for name in names:
        with open(os.path.join(data, name), "rb") as f:
            files[name] = f.read()
    return files


def name_player(game, player):
    """Answers the name prompt, closes the greeting and returns the game window, checked to
    show the player as challenger, the counters at zero and a full clock."""
    fill_prompt(game, "the name prompt", "Come ti chiami?", player)
    close_message(game, "the greeting", f" {player} vediamo se sei un vero campione  ")
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
    fill_prompt(game, "the class prompt", "Classe?", class_name)
    close_message(game, "the class message", f" Classe  {class_name}")
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
    check(no is not None and has_state(no, drive.Atspi.StateType.FOCUSED),
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
    files = data_files(data, CLASS)
    holder = PLAYER.encode("latin-1") + b"\r\n"
    check(files["velmora.txt"] == b"1\r\n", f"velmora.txt: {files['velmora.txt']!r}")
    check(files["velmora1.txt"] == holder, f"velmora1.txt: {files['velmora1.txt']!r}")

    log_bytes = files[f"{CLASS}.txt"]
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
    dates = {d.strftime(drive.LOCALE["date"]) for d in
             (today_at_start, today_at_start + datetime.timedelta(days=1))}
    date = match.group(2).decode()
    check(date in dates, f"date {date} is not the day of the game ({sorted(dates)})")
    expected = (b"Nome:  " + PLAYER.encode("latin-1") + b" Risposte esatte 1  Risposte errate  1"
                + b"Tempo restante   " + time_left.encode() + b'-"Data:  ' + date.encode()
                + b"\r\n")
    check(log_bytes == expected, f"{CLASS}.txt: {log_bytes!r}, expected {expected!r}")
    log(f"files checked ({time_left}, {date})")


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
