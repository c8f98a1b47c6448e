#!/usr/bin/python3
"""Another PC's live lock in the data folder while solfira.exe, its clock minutes off the
folder's (libfaketime under Wine), ends a game: the game must wait, say the folder is busy,
and leave the lock and the class log alone; with the lock gone, Exit again stores the game.

The clock is first shown to be off inside Wine (cmd.exe's %TIME% against this machine's), so a
run whose skew did not take fails instead of proving nothing. The lock is what QLockFile
writes on a PC named pc07, written a second before Exit and kept there until the busy message
has been read.

Usage: turns.py --exe WINDOWS_PATH --data DIR --data-arg WINDOWS_PATH --skew MINUTES
                [--shots DIR]
Needs what play.py needs, and libfaketime.
"""

import argparse
import datetime
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play import (CLASS, PLAYER, WAIT, keys, run_steps, typed, visible_windows,  # noqa: E402
                  wait_for, width)
from game_driver import check, log  # noqa: E402

FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
# pid, program, host, machine id, boot id: another PC's copy of the game, still running.
LOCK = (b"4242\nsolfira\npc07\n0123456789abcdef0123456789abcdef\n"
        b"11111111-2222-3333-4444-555555555555\n")
BUSY_WAIT = 15  # seconds one Exit try waits for the lock


def clock_env(minutes):
    """This PC's clock `minutes` off; file times and the monotonic clock stay as they are."""
    return dict(os.environ, LD_PRELOAD=FAKETIME, FAKETIME=f"{minutes:+d}m", NO_FAKE_STAT="1",
                DONT_FAKE_MONOTONIC="1")


def check_skew(env, minutes):
    """Wine's clock, as cmd.exe tells it to the minute, against this machine's."""
    out = subprocess.run(["wine", "cmd", "/c", "echo %TIME%"], env=env, capture_output=True,
                         text=True, timeout=60).stdout
    now = datetime.datetime.now()
    match = re.search(r"(\d+):(\d\d)", out)
    check(match, f"cmd.exe gave no time: {out!r}")
    off = (int(match[1]) * 60 + int(match[2]) - now.hour * 60 - now.minute + 720) % 1440 - 720
    check(abs(off - minutes) <= 1, f"Wine's clock is {off} minutes off, not {minutes}")
    log(f"Wine's clock is {off} minutes off this machine's")


def read(path):
    if not os.path.exists(path):
        return b""
    with open(path, "rb") as f:
        return f.read()


def exit_game(screen, window):
    screen.focus(window)
    keys("alt+x")
    screen.new_window("the exit question")
    keys("alt+s")


def play(args, env, screen):
    lock = os.path.join(args.data, ".solfira.lock")
    class_log = os.path.join(args.data, f"{CLASS}.txt")
    screen.known = visible_windows()
    game = subprocess.Popen(["wine", args.exe, "--data-dir", args.data_arg], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        prompt = screen.new_window("the name prompt")
        typed(PLAYER)
        keys("Return")
        screen.gone(prompt, "the name prompt to close")
        greeting = screen.new_window("the greeting")
        keys("Return")
        screen.gone(greeting, "the greeting to close")
        window = screen.new_window("the game window", large=True)
        screen.focus(window)
        keys("alt+s", "c")
        class_prompt = screen.new_window("the class prompt")
        typed(CLASS)
        keys("Return")
        screen.gone(class_prompt, "the class prompt to close")
        screen.new_window("the class message")
        keys("Return")

        with open(lock, "wb") as f:
            f.write(LOCK)
        time.sleep(1.0)
        exit_game(screen, window)
        asked = time.monotonic()

        def busy_or_ended():
            check(game.poll() is None, "the game ended without a word: it took the other PC's "
                                       f"lock; the class log holds {read(class_log)!r}")
            return [w for w in visible_windows() - screen.known if width(w) < 600]
        wait_for("the busy message", busy_or_ended)  # WAIT is well over BUSY_WAIT
        busy = screen.new_window("the busy message")
        waited = time.monotonic() - asked
        shown = screen.text(busy, "busy")
        check(re.search(r"La cartella dei dati C:.*occupata da un.altra copia di Sol\w*: "
                        r"riprova tra poco\. La partita non è stata registrata", shown),
              f"the busy message shows {shown!r}")
        check(waited >= BUSY_WAIT - 1, f"the busy message came after {waited:.1f} s")
        log(f"the busy message, after {waited:.1f} s")
        keys("Return")
        screen.gone(busy, "the busy message to close")
        check(read(lock) == LOCK, f"the lock now holds {read(lock)!r}")
        check(PLAYER.encode("cp1252") not in read(class_log),
              f"the class log got the game: {read(class_log)!r}")
        log("the lock left as it was, the class log without the game")

        os.remove(lock)
        exit_game(screen, window)
        # A new record is told first; otherwise the game ends at once.
        deadline = time.monotonic() + WAIT
        while game.poll() is None and time.monotonic() < deadline:
            for box in visible_windows() - screen.known:
                screen.known.add(box)
                screen.focus(box)
                keys("Return")
            time.sleep(0.3)
        check(game.poll() == 0, f"the game did not end with status 0 ({game.poll()})")
        lines = read(class_log).split(b"\r\n")
        check(len(lines) == 2 and lines[0].startswith(b"Nome:  " + PLAYER.encode("cp1252")),
              f"the class log holds {read(class_log)!r}")
        log("with the lock gone, Exit stored the game")
    finally:
        if game.poll() is None:
            game.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--data-arg", required=True)
    parser.add_argument("--skew", type=int, required=True)
    parser.add_argument("--shots")
    args = parser.parse_args()
    os.makedirs(args.data, exist_ok=True)
    env = clock_env(args.skew)

    def steps(screen):
        check_skew(env, args.skew)
        play(args, env, screen)

    return run_steps(args.shots, steps)

if __name__ == "__main__":
    sys.exit(main())
