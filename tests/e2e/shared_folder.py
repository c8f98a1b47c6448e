#!/usr/bin/python3
"""A school's shared data folder, with the built game: what pupils may leave in it, and many
games ending at the same moment.

1. Hostile folder states, one game each, on a private desktop (tests/e2e/desktop.py): links,
   a pipe and a folder in place of the files, a class named as a record file or too long, a
   name pasted with a line break, a full disk and a read-only folder (these two on a small
   tmpfs, only when run as root), a 200 MB holder file. Each must end in a message naming
   the file and the real cause, with nothing written outside the folder, no line cut short
   and no game hanging.
2. ROUNDS rounds of two games on one folder, both pressing "Sì" at the same moment, each
   beating an empty record: every round adds two whole lines, exactly one of them a new
   record, and the record files name its player.

Usage: shared_folder.py --solfira PATH [--rounds N]   (about 10 s a round; make test runs two
rounds). Needs what play_solfira.py needs.
"""

import argparse
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import game_driver as drive  # noqa: E402
import play_solfira as pupil  # noqa: E402
from game_driver import Failure, check, find, log, wait_for  # noqa: E402

OUTSIDE_BYTES = b"di un altro\r\n"


def box_texts(game, until_window=True):
    """Closes every box that opens until the game window shows; returns their texts."""
    texts = []
    deadline = time.monotonic() + 3 * drive.WAIT
    while time.monotonic() < deadline:
        drive.pump()
        boxes = game.open_boxes()
        if boxes:
            box = boxes[0]
            label = find(box, "label")
            texts.append(label.get_name() if label else "")
            ok = find(box, "push button", name="OK")
            check(ok is not None, f"a box without OK: {texts[-1]!r}")
            ok.do_action(0)
            wait_for("the box to close", lambda: box not in game.open_boxes())
            continue
        frame = find(game.app, "frame")
        if until_window and frame and drive.showing(frame):
            return texts
        time.sleep(0.05)
    raise Failure(f"the game window did not show; boxes: {texts}")


def paste_into_prompt(game, what, field_name, text):
    """Puts `text` into the prompt's box as a paste would, line breaks and all, then Return;
    the texts of the boxes that follow."""
    prompt = game.wait_box("dialog", what)
    field = find(prompt, "text", name=field_name)
    field.set_text_contents(text)
    game.focus(prompt, field)
    game.key("Return")
    return box_texts(game)


def name_by_paste(game, text):
    return paste_into_prompt(game, "the name prompt", "Come ti chiami?", text)


def class_by_paste(game, text):
    window = game.main_window()
    game.xdotool("windowfocus", "--sync", game.xid(window.get_name()))
    game.key("alt+s")
    wait_for("the menu", lambda: find(game.app, "menu item", name="Classe"), timeout=5)
    game.key("c")
    return paste_into_prompt(game, "the class prompt", "Classe?", text)


def answer_right(game):
    question = pupil.read_question(game)
    pupil.answer(game, *pupil.expected_fraction(question))


def exit_question(game):
    window = game.main_window()
    game.focus(window, find(window, "push button", name="Exit"))
    game.key("Return")
    box = game.wait_box("alert", "the exit question")
    return find(box, "push button", name="Sì")


def exit_message(game):
    """Presses "Sì"; returns the text of the box that follows, or None when the game ended."""
    exit_question(game).do_action(0)
    def outcome():
        if game.process.poll() is not None:
            return ("ended",)
        boxes = [b for b in game.open_boxes() if b.get_name() != "Uscire dal programma"]
        if boxes:
            # A box's children may reach the bus a moment after the box itself.
            label = find(boxes[0], "label")
            ok = find(boxes[0], "push button", name="OK")
            if label and ok:
                return ("box", label.get_name(), ok)
        return None
    result = wait_for("the end of the game or a message", outcome)
    if result[0] == "ended":
        return None
    result[2].do_action(0)
    return result[1]


def reset(folder):
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isdir(path) and not os.path.islink(path):
            os.rmdir(path)
        else:
            os.remove(path)


def hostile_cases(desktop, solfira, data, outside):
    target = os.path.join(outside, "altrui.txt")

    def plant(name, kind):
        path = os.path.join(data, name)
        if kind == "link":
            os.symlink(target, path)
        elif kind == "dangling":
            os.symlink(os.path.join(outside, "nuovo.txt"), path)
        elif kind == "pipe":
            os.mkfifo(path)
        elif kind == "folder":
            os.mkdir(path)

    # (title, {name: kind}, what the pupil does, words the messages must hold)
    cases = [
        ("record file links outside (load)", {"velmora.txt": "link"}, "leave",
         ["velmora.txt", "collegamento"]),
        ("holder file dangling link (load)", {"velmora1.txt": "dangling"}, "leave",
         ["velmora1.txt", "collegamento"]),
        ("class log links outside", {"Label2.txt": "link"}, "leave",
         ["Label2.txt", "collegamento"]),
        ("class log is a pipe", {"Label2.txt": "pipe"}, "leave", ["Label2.txt", "pipe"]),
        ("lock file is a folder", {".solfira.lock": "folder"}, "leave",
         [".solfira.lock", "cartella"]),
        ("name pasted with a line break", {}, "paste name", []),
        ("class velmora", {}, "class velmora", []),
        ("class of 200 è", {}, "class long", ["troppo lungo"]),
        ("400 nines as record", {}, "nines", []),
    ]
    for title, planted, action, words in cases:
        log(f"--- {title}")
        reset(data)
        reset(outside)
        with open(target, "wb") as f:
            f.write(OUTSIDE_BYTES)
        for name, kind in planted.items():
            plant(name, kind)
        messages = []
        with drive.started(desktop, [solfira, "--data-dir", data]) as game:
            if action == "paste name":
                messages += name_by_paste(game, "Eve\nNome:  Mallory Risposte esatte 99")
            else:
                messages += name_by_paste(game, "Ada")
            if action == "class velmora":
                messages += class_by_paste(game, "VELMORA")
            if action == "class long":
                messages += class_by_paste(game, "è" * 200)
            if action == "nines":
                with open(os.path.join(data, "velmora.txt"), "wb") as f:
                    f.write(b"9" * 400)
                answer_right(game)
            started = time.monotonic()
            message = exit_message(game)
            if message is not None:
                messages.append(message)
                check(time.monotonic() - started < 5, "the game took long to answer")
        log(f"messages: {messages}")
        text = "\n".join(messages)
        for word in words:
            check(word in text, f"{title}: no {word!r} in the messages")
        check(open(target, "rb").read() == OUTSIDE_BYTES, f"{title}: the outside file changed")
        check(sorted(os.listdir(outside)) == ["altrui.txt"], f"{title}: {os.listdir(outside)}")
        files = {n: open(os.path.join(data, n), "rb").read() for n in os.listdir(data)
                 if os.path.isfile(os.path.join(data, n)) and not os.path.islink(os.path.join(data, n))}
        for name, content in files.items():
            if name.endswith(".txt") and content:
                check(content.endswith(b"\r\n") and b"\n" not in content.replace(b"\r\n", b""),
                      f"{title}: {name} holds a line cut short or a bare line break: {content!r}")
        if action == "paste name":
            check(files["Label2.txt"].startswith(b"Nome:  Eve  Risposte")
                  and files["Label2.txt"].count(b"\r\n") == 1, f"log {files['Label2.txt']!r}")
        if action == "class velmora":
            check(files["velmora.txt"] == b"" and "VELMORA_.txt" in files, f"files {list(files)}")
        if action == "class long":
            logs = [n for n in files if n.startswith("è")]
            check(len(logs) == 1 and len(logs[0].encode()) <= 255, f"class logs {logs}")
        if action == "nines":
            check(files["velmora.txt"] == b"1\r\n", f"record {files['velmora.txt']!r}")

    log("--- 200 MB holder file")
    reset(data)
    with open(os.path.join(data, "velmora1.txt"), "wb") as f:
        f.truncate(200 << 20)
    with drive.started(desktop, [solfira, "--data-dir", data]) as game:
        name_by_paste(game, "Ada")
        with open(f"/proc/{game.process.pid}/status") as f:
            peak = re.search(r"VmHWM:\s+(\d+) kB", f.read()).group(1)
        log(f"peak memory after load: {int(peak) // 1024} MB")
        check(int(peak) < 150 * 1024, f"peak memory {peak} kB")

    if os.geteuid() == 0:
        tmpfs_cases(desktop, solfira)


def tmpfs_cases(desktop, solfira):
    mount = os.path.join(desktop.root, "piccolo")
    os.mkdir(mount)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", mount], check=True)
    try:
        log("--- full disk, the log's last page nearly full")
        with open(os.path.join(mount, "Label2.txt"), "wb") as f:
            f.write(b"x" * 4000 + b"\r\n")
        old_log = open(os.path.join(mount, "Label2.txt"), "rb").read()
        for name in ("velmora.txt", "velmora1.txt"):
            open(os.path.join(mount, name), "wb").close()
        with open(os.path.join(mount, "riempitivo"), "wb", buffering=0) as f:
            try:
                while True:
                    f.write(b"\0" * 4096)
            except OSError:
                pass
        # No page is left: the line's first bytes still fit in the log's last page, the
        # rest cannot be written.
        with drive.started(desktop, [solfira, "--data-dir", mount]) as game:
            name_by_paste(game, "Eve")
            message = exit_message(game)
            log(f"message: {message!r}")
            check(message and "spazio esaurito sul disco" in message, "no full-disk message")
        check(open(os.path.join(mount, "Label2.txt"), "rb").read() == old_log,
              "the log changed on a full disk")
        os.remove(os.path.join(mount, "riempitivo"))
        with drive.started(desktop, [solfira, "--data-dir", mount]) as game:
            name_by_paste(game, "Bea")
            check(exit_message(game) is None, "the game after the full disk did not end")
        check(open(os.path.join(mount, "Label2.txt"), "rb").read().startswith(old_log + b"Nome:  Bea"),
              "the next game's line is not on a line of its own")

        log("--- read-only folder")
        subprocess.run(["mount", "-o", "remount,ro", mount], check=True)
        with drive.started(desktop, [solfira, "--data-dir", mount]) as game:
            name_by_paste(game, "Eve")
            message = exit_message(game)
            log(f"message: {message!r}")
            check(message and "sola lettura" in message and "occupata" not in message,
                  "no read-only message")
    finally:
        subprocess.run(["umount", mount])


def concurrent_rounds(desktop, solfira, data, rounds):
    log_path = os.path.join(data, "Label2.txt")
    started = time.monotonic()
    for i in range(rounds):
        for name in ("velmora.txt", "velmora1.txt"):
            if os.path.exists(os.path.join(data, name)):
                os.remove(os.path.join(data, name))
        before = open(log_path, "rb").read() if os.path.exists(log_path) else b""
        names = [f"A{i}", f"B{i}"]
        with drive.started(desktop, [solfira, "--data-dir", data], "game A") as a, \
                drive.started(desktop, [solfira, "--data-dir", data], "game B") as b:
            games = [a, b]
            for game, name in zip(games, names):
                name_by_paste(game, name)
                answer_right(game)
            buttons = [exit_question(game) for game in games]
            for button in buttons:  # the same moment, as near as two clicks can be
                button.do_action(0)
            for game in games:
                def settled(game=game):
                    if game.process.poll() is not None:
                        return True
                    for box in game.open_boxes():
                        ok = find(box, "push button", name="OK")
                        # A box still being built shows its button a moment later.
                        if box.get_name() != "Uscire dal programma" and ok:
                            # As a pupil closes it: the focus on OK, then Enter.
                            game.focus(box, ok)
                            game.key("Return")
                    return False
                wait_for("the game to end", settled)
                check(game.process.returncode == 0, f"status {game.process.returncode}")
        added = open(log_path, "rb").read()[len(before):]
        lines = added.split(b"\r\n")
        check(len(lines) == 3 and lines[2] == b"", f"round {i}: {added!r}")
        records = [line for line in lines[:2] if b'-"Data:' in line]
        check(len(records) == 1, f"round {i}: new-record lines {records}")
        holder = re.match(rb"Nome:  (\S+) ", records[0]).group(1)
        check(open(os.path.join(data, "velmora.txt"), "rb").read() == b"1\r\n", "record")
        check(open(os.path.join(data, "velmora1.txt"), "rb").read() == holder + b"\r\n",
              f"round {i}: holder")
    content = open(log_path, "rb").read()
    whole = [line for line in content.split(b"\r\n") if re.fullmatch(
        rb'Nome:  [AB]\d+ {1,2}Risposte esatte 1  Risposte errate  0Tempo restante   '
        rb'\d\d:\d\d:\d\d(Data:   |-"Data:  )\d\d/\d\d/\d{4}', line)]
    new_records = content.count(b'-"Data:')
    line_ends = content.count(b"\r\n")
    log(f"{rounds} rounds in {time.monotonic() - started:.0f} s: {len(whole)} whole lines, "
        f"{new_records} new records, {line_ends} line ends")
    check(len(whole) == 2 * rounds and line_ends == 2 * rounds and new_records == rounds,
          "lines")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--solfira", required=True)
    parser.add_argument("--rounds", type=int, default=20)
    parser.add_argument("--only", choices=["hostile", "rounds"])
    args = parser.parse_args()

    def body(desktop, solfira, data):
        outside = os.path.join(desktop.root, "fuori")
        os.mkdir(outside)
        if args.only != "rounds":
            hostile_cases(desktop, solfira, data, outside)
            reset(data)
        if args.only != "hostile":
            concurrent_rounds(desktop, solfira, data, args.rounds)

    drive.run_on_private_desktop([args.solfira], body, time_limit=120 + 30 * args.rounds)


if __name__ == "__main__":
    drive.run_main(main)
