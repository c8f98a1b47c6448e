#!/usr/bin/python3
"""The command line of the built game, with no display at all: --version and --help answer,
and a mistaken command line is refused with status 2 before anything is written.

Usage: command_line.py --solfira PATH --version-text 1.00.0006
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile

# (arguments, expected status, pattern the standard output must match, pattern for the
# standard error). "{data}" stands for an empty data folder that must stay empty.
CASES = [
    (["--version"], 0, r"Solfira {version}\n", r""),
    (["-v"], 0, r"Solfira {version}\n", r""),
    (["--help"], 0, r"(?s).*--data-dir <DIR>.*", r""),
    (["-h"], 0, r"(?s).*-h, --help.*-v, --version.*--data-dir <DIR>.*", r""),
    (["--data-dir", "{data}", "--bogus"], 2, r"", r"(?s)solfira: .*'bogus'.*--help.*"),
    (["--data-dir", "{data}", "-x"], 2, r"", r"(?s)solfira: .*'x'.*"),
    (["--data-dir", "{data}", "extra"], 2, r"", r"(?s)solfira: .*'extra'.*"),
    (["--data-dir"], 2, r"", r"(?s)solfira: .*'--data-dir'.*"),
    # A valid option beside a wrong one changes nothing: the wrong one is refused first.
    (["--bogus", "--version"], 2, r"", r"(?s)solfira: .*'bogus'.*"),
]


def run_case(solfira, version, args, status, out_pattern, err_pattern):
    with tempfile.TemporaryDirectory(prefix="solfira-cli-") as root:
        data = os.path.join(root, "data")
        home = os.path.join(root, "home")
        os.mkdir(data)
        os.mkdir(home)
        # No display and no platform: the answers must not need a window system.
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home,
               "XDG_RUNTIME_DIR": root, "LC_ALL": "C.UTF-8"}
        argv = [solfira] + [a.replace("{data}", data) for a in args]
        result = subprocess.run(argv, env=env, capture_output=True, timeout=30)
        out = result.stdout.decode("utf-8", errors="replace")
        err = result.stderr.decode("utf-8", errors="replace")
        problems = []
        if result.returncode != status:
            problems.append(f"status {result.returncode}, expected {status}")
        if not re.fullmatch(out_pattern.replace("{version}", re.escape(version)), out):
            problems.append(f"standard output {out!r}")
        if not re.fullmatch(err_pattern, err):
            problems.append(f"standard error {err!r}")
        written = [os.path.relpath(os.path.join(d, f), root)
                   for d, _, files in os.walk(root) for f in files]
        if written:
            problems.append(f"wrote {written}")
        return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--solfira", required=True)
    parser.add_argument("--version-text", required=True)
    args = parser.parse_args()
    failed = 0
    for case in CASES:
        problems = run_case(os.path.abspath(args.solfira), args.version_text, *case)
        print(f"{'FAIL' if problems else 'ok  '} solfira {' '.join(case[0])}"
              + "".join(f"\n       {p}" for p in problems))
        failed += bool(problems)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
