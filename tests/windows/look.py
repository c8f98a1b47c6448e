#!/usr/bin/python3
"""Starts a Windows program under Wine, waits for its window and reads it off the screen:
every text given with --expect must be there. The screenshot is kept; the program is closed.

Usage: look.py --exe PATH --expect TEXT... --shot FILE.png [-- PROGRAM_ARG...]
Needs what play.py needs.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play import Failure, Screen, check, log, visible_windows  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--expect", action="append", default=[])
    parser.add_argument("--shot", required=True)
    args, program_args = parser.parse_known_args()
    if program_args[:1] == ["--"]:
        program_args = program_args[1:]
    with tempfile.TemporaryDirectory() as scratch:
        screen = Screen(scratch)
        screen.known = visible_windows()
        program = subprocess.Popen(["wine", args.exe, *program_args], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            window = screen.new_window(f"the window of {args.exe}", large=True)
            time.sleep(2.0)  # the first paint, and the data read
            shown = screen.text(window, "window")
            shutil.copy(os.path.join(scratch, f"{screen.shots:02d}-window.png"), args.shot)
            for text in args.expect:
                check(text in shown, f"the window does not show {text!r}: {shown!r}")
            check(program.poll() is None, "the program ended on its own")
            log(f"the window shows {', '.join(args.expect)} ({args.shot})")
        except Failure as failure:
            print(f"FAIL {failure}", flush=True)
            return 1
        finally:
            program.kill()
            subprocess.run(["wineserver", "-k"], check=False)
    print("PASSED", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
