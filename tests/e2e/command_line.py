#!/usr/bin/python3
"""The command lines of the built game and register, with no display at all: --version and
--help answer, and a mistaken command line is refused with status 2 before anything is written.

Usage: command_line.py --solfira PATH --registro PATH --version-text TEXT
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile

# (program, arguments, expected status, pattern the standard output must match, pattern for the
# standard error). "{data}" stands for an empty data folder that must stay empty.
CASES = [
    ("solfira", ["--version"], 0, r"Solfira {version}\n", r""),
    ("solfira", ["-v"], 0, r"Solfira {version}\n", r""),
    ("solfira", ["--help"], 0, r"(?s).*--data-dir <DIR>.*", r""),
    ("solfira", ["-h"], 0, r"(?s).*-h, --help.*-v, --version.*--data-dir <DIR>.*", r""),
    ("solfira", ["--data-dir", "{data}", "--bogus"], 2, r"", r"(?s)solfira: .*'bogus'.*--help.*"),
    ("solfira", ["--data-dir", "{data}", "-x"], 2, r"", r"(?s)solfira: .*'x'.*"),
    ("solfira", ["--data-dir", "{data}", "extra"], 2, r"", r"(?s)solfira: .*'extra'.*"),
    ("solfira", ["--data-dir"], 2, r"", r"(?s)solfira: .*'--data-dir'.*"),
    # A valid option beside a wrong one changes nothing: the wrong one is refused first.
    ("solfira", ["--bogus", "--version"], 2, r"", r"(?s)solfira: .*'bogus'.*"),
    # The register answers the same way, and needs no display for it either.
    ("registro", ["--version"], 0, r"solfira-registro {version}\n", r""),
    ("registro", ["-v"], 0, r"solfira-registro {version}\n", r""),
    ("registro", ["--help"], 0, r"(?s).*--data-dir <DIR>.*--classe <NOME>.*", r""),
    ("registro", ["-h"], 0, r"(?s).*-h, --help.*-v, --version.*", r""),
    ("registro", ["--data-dir", "{data}", "--bogus"], 2, r"",
     r"(?s)solfira-registro: .*'bogus'.*solfira-registro --help.*"),
    ("registro", ["--data-dir", "{data}", "extra"], 2, r"", r"(?s)solfira-registro: .*'extra'.*"),
    ("registro", ["--classe"], 2, r"", r"(?s)solfira-registro: .*'--classe'.*"),
    ("registro", ["--bogus", "--version"], 2, r"", r"(?s)solfira-registro: .*'bogus'.*"),
    # Qt's own window-system options are not mistakes; --version still ends at once.
    ("registro", ["-platform", "xcb", "--version"], 0, r"solfira-registro {version}\n", r""),
]


def run_case(program, version, args, status, out_pattern, err_pattern):
    with tempfile.TemporaryDirectory(prefix="solfira-cli-") as root:
        data = os.path.join(root, "data")
        home = os.path.join(root, "home")
        os.mkdir(data)
        os.mkdir(home)
        # No display and no platform: the answers must not need a window system.
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home,
               "XDG_RUNTIME_DIR": root, "LC_ALL": "C.UTF-8"}
        argv = [program] + [a.replace("{data}", data) for a in args]
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
    for option in ("--solfira", "--registro", "--version-text"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    failed = 0
    programs = {"solfira": args.solfira, "registro": args.registro}
    for name, *case in CASES:
        problems = run_case(os.path.abspath(programs[name]), args.version_text, *case)
        print(f"{'FAIL' if problems else 'ok  '} {os.path.basename(programs[name])} {' '.join(case[0])}"
              + "".join(f"\n       {p}" for p in problems))
        failed += bool(problems)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
