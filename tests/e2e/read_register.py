#!/usr/bin/python3
"""Two short games with the built game, then the teacher's register read as a screen reader
reads it.

On a private desktop (tests/e2e/desktop.py) two pupils of the same class play one question
each with the game itself, driven as play_solfira.py drives it: the first answers right and
sets the record, the second answers wrong and does not. Each game ends with "Exit" and "Sì",
which writes one line to the class log. The register is then opened on that data folder and
its games table is read over AT-SPI, cell by cell: one row per game in the order played, with
the name, the counts, the accuracy, the time used, the date and whether the game set the
record, all agreeing with the lines the game wrote. The register must leave the data folder
exactly as it found it.

Usage: read_register.py --solfira PATH --registro PATH   (exit status 0: passed; gives up
after 60 s). Needs what play_solfira.py needs.
"""

import argparse
import datetime
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import game_driver as drive  # noqa: E402
import play_solfira as pupil  # noqa: E402
from game_driver import Failure, check, log, wait_for  # noqa: E402

CLASS = "3A"
# (player, whether the one answer is right). A name with a space and one with a letter
# outside ASCII: the log puts no quotes around names and keeps them in Latin-1.
GAMES = [("Niccolò", True), ("Anna Maria", False)]
TIME_LIMIT = 60  # seconds for the whole run
BEST_SCORES_TITLE = "Miglior punteggio di ogni alunno (risposte esatte)"
GAME_SECONDS = 15 * 60


def play_one(desktop, solfira, data, player, right, record):
    """One game of one question, then the class and "Exit"; `record`: whether it beats it."""
    with drive.started(desktop, [solfira, "--data-dir", data]) as game:
        pupil.name_player(game, player)
        question = pupil.read_question(game)
        numerator, denominator = pupil.expected_fraction(question)
        # A wrong value, not merely an unreduced fraction: the other wrong answer is
        # played by play_solfira.py.
        given = (numerator, denominator) if right else (numerator + 1, denominator)
        log(f"{player}: question {question}, answering {given[0]}/{given[1]}")
        window, _ = pupil.answer(game, *given)
        verdict = pupil.label(window, "Esito della risposta").get_name()
        expected = ("Esatto, è incredibile!!!" if right
                    else f"Sbagliato!! {numerator} / {denominator}")
        check(verdict == expected, f"verdict {verdict!r}, expected {expected!r}")
        counts = ("1", "0", "1") if right else ("0", "1", "1")
        check(pupil.counters(window) == counts, f"counters {pupil.counters(window)}")
        pupil.give_class(game, CLASS)
        pupil.leave(game, new_record=record)


def read_class_log(data, today_at_start):
    """The rows the register should show, from the lines the game wrote (checked here)."""
    with open(os.path.join(data, f"{CLASS}.txt"), "rb") as f:
        lines = f.read().split(b"\r\n")
    check(len(lines) == len(GAMES) + 1 and lines[-1] == b"",
          f"{CLASS}.txt does not hold one CR LF line per game: {lines!r}")
    dates = {d.strftime("%d/%m/%Y") for d in
             (today_at_start, today_at_start + datetime.timedelta(days=1))}
    rows = []
    best = 0
    for line, (player, right) in zip(lines, GAMES):
        correct, wrong = (1, 0) if right else (0, 1)
        record = correct > best
        best = max(best, correct)
        # The two forms differ in the spaces after the name and before the date only.
        pattern = (re.escape(b"Nome:  " + player.encode("latin-1")
                             + (b" " if record else b"  ")
                             + b"Risposte esatte %d  Risposte errate  %d" % (correct, wrong)
                             + b"Tempo restante   ")
                   + rb"(00:1[0-5]:[0-5]\d)"
                   + re.escape(b'-"Data:  ' if record else b"Data:   ")
                   + rb"(\d\d/\d\d/\d{4})")
        match = re.fullmatch(pattern, line)
        check(match is not None, f"{CLASS}.txt line {line!r} is not the "
                                 f"{'new-record' if record else 'plain'} line of {player}")
        date = match.group(2).decode()
        check(date in dates, f"date {date} is not the day of the games ({sorted(dates)})")
        hours, minutes, seconds = (int(p) for p in match.group(1).split(b":"))
        used = GAME_SECONDS - (hours * 3600 + minutes * 60 + seconds)
        rows.append({"Nome": player, "Esatte": str(correct), "Errate": str(wrong),
                     "Totale": str(correct + wrong),
                     "Precisione": "100,0%" if right else "0,0%",
                     "Tempo impiegato": f"{used // 60:02d}:{used % 60:02d}",
                     "Data": date, "Record": "sì" if record else "no"})
    return rows


def folder_state(data):
    """Every file of the data folder with its bytes and time of change."""
    state = {}
    for name in sorted(os.listdir(data)):
        path = os.path.join(data, name)
        with open(path, "rb") as f:
            state[name] = (f.read(), os.stat(path).st_mtime_ns)
    return state


def class_combo(window):
    """The class chooser, reached as a screen reader reaches it: from its label."""
    caption = drive.find(window, "label", name="Classe:")
    check(caption is not None, "the register shows no label 'Classe:'")
    for relation in caption.get_relation_set():
        if relation.get_relation_type() == drive.Atspi.RelationType.LABEL_FOR:
            for i in range(relation.get_n_targets()):
                target = relation.get_target(i)
                if target.get_role_name() == "combo box":
                    return target
    raise Failure("the label 'Classe:' labels no combo box")


def read_table(table):
    """The cells of an accessible table as one {column title: text} per row."""
    Table = drive.Atspi.Table
    titles = [Table.get_column_header(table, c).get_name()
              for c in range(Table.get_n_columns(table))]
    return [{title: Table.get_accessible_at(table, r, c).get_name()
             for c, title in enumerate(titles)}
            for r in range(Table.get_n_rows(table))]


def read_register(desktop, registro, data, expected):
    with drive.started(desktop, [registro, "--data-dir", data], "the register") as register:
        window = wait_for("the register window on screen",
                          lambda: (lambda f: f if f and drive.showing(f) else None)(
                              drive.find(register.app, "frame")))
        check(window.get_name() == "Registro di Solfira", f"window named {window.get_name()!r}")
        # One class log in the folder: it is open at start, the record files are no class.
        combo = class_combo(window)
        check(combo.get_name() == CLASS, f"the class shown is {combo.get_name()!r}")
        classes = [item.get_name() for item in drive.walk(combo)
                   if item.get_role_name() == "list item"]
        check(classes == [CLASS], f"the classes offered are {classes}")
        xid = register.window_id(f"^Classe {re.escape(CLASS)}( |$)",
                                 f"the register's window titled with class {CLASS}")

        table = wait_for("the games table", lambda: drive.find(window, "table",
                                                                 name="Partite della classe"))
        wait_for("the games in the table", lambda: drive.Atspi.Table.get_n_rows(table) > 0)
        rows = read_table(table)
        log(f"the register shows {rows}")
        check(len(rows) == len(expected), f"{len(rows)} rows shown, {len(expected)} games played")
        for number, (shown, wanted) in enumerate(zip(rows, expected), start=1):
            differ = {k: (shown.get(k), wanted.get(k)) for k in shown.keys() | wanted.keys()
                      if shown.get(k) != wanted.get(k)}
            check(not differ, f"row {number}: (shown, expected) per column: {differ}")

        # The chart of the best scores, on the tab shown first, as a screen reader reads it.
        best = {}
        for row in expected:
            best[row["Nome"]] = max(best.get(row["Nome"], 0), int(row["Esatte"]))
        wanted = "Miglior punteggio: " + ", ".join(
            f"{name} {score}" for name, score in sorted(best.items(), key=lambda b: b[0].casefold()))
        chart = wait_for("the chart of the best scores",
                         lambda: drive.find(window, "chart", name=BEST_SCORES_TITLE))
        check(chart.get_description() == wanted,
              f"the chart is described as {chart.get_description()!r}, expected {wanted!r}")
        log(f"the chart reads {chart.get_name()!r}: {chart.get_description()!r}")

        # Leave as a teacher does, with Ctrl+Q.
        register.xdotool("windowfocus", "--sync", xid)
        register.key("ctrl+q")
        try:
            status = register.process.wait(timeout=drive.WAIT)
        except subprocess.TimeoutExpired:
            raise Failure("the register did not end with Ctrl+Q")
        check(status == 0, f"the register ended with status {status}")
        log("register closed")


def run(desktop, solfira, registro, data):
    today_at_start = datetime.date.today()
    best = 0
    for player, right in GAMES:
        score = 1 if right else 0
        play_one(desktop, solfira, data, player, right, record=score > best)
        best = max(best, score)

    files = pupil.data_files(data, CLASS)
    # The record is the first pupil's: the second game did not beat it.
    holder = GAMES[0][0].encode("latin-1") + b"\r\n"
    record = (files["velmora.txt"], files["velmora1.txt"])
    check(record == (b"1\r\n", holder), f"record files hold {record!r}")
    expected = read_class_log(data, today_at_start)
    log(f"class log read: {len(expected)} games")

    before = folder_state(data)
    read_register(desktop, registro, data, expected)
    after = folder_state(data)
    changed = sorted(n for n in before.keys() | after.keys() if before.get(n) != after.get(n))
    check(not changed, f"the register changed the data folder: {changed}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--solfira", required=True, help="the built solfira program")
    parser.add_argument("--registro", required=True, help="the built solfira-registro program")
    args = parser.parse_args()
    drive.run_on_private_desktop([args.solfira, args.registro], run, TIME_LIMIT)


if __name__ == "__main__":
    drive.run_main(main)
