#!/usr/bin/python3
"""A school's computer room on this machine: PCS simulated PCs play the real game on one
shared folder, ROUNDS rounds, while the teacher's register stays open on it.

Each PC (lab_pcs.py) has its own host name, machine id, boot id, HOME and settings, and finds
the shared folder through the machine-wide setting /etc/solfira.conf that its own /etc holds
(the machine's /etc is never written); one PC's clock runs ten minutes ahead and one ten
minutes behind (libfaketime). In each round every pupil answers (lab_game.py), then all press
"Sì" within one second, in rising order of score, so that several beat the record in turn.
The folder is watched at each opening of a file (lab_referee.py, folder_watch.py): in round
SLOW_ROUND the first PC to press is held SLOW seconds when it first touches the folder, as a
slow share or PC may hold it; in round KILL_ROUND the first PC to press is switched off, its
whole namespace killed with SIGKILL, at its first opening of a file other than the lock while
the lock is there with its host name in it: in the middle of storing its game. Then:
  - every opening of a file of the game while storing a game was made with the lock naming
    the PC that made it: two PCs were never inside at once;
  - every stored game's line is in its class log exactly once and whole, and no other line;
  - the record is the highest score with its holder: taken in the order they were stored,
    the games that beat it at their turn, and only those, set it, so it never went down;
    in one round at least two games beat it with different scores;
  - the dead PC's lock (naming its host, machine id and boot id) was taken over within BOUND
    seconds;
  - no pupil waited more than BOUND seconds from the first "Sì" to the game stored (pressing
    "Exit" and "Sì" again after each "riprova tra poco");
  - no file of the game was written outside the folder, and the machine's /etc not at all;
  - the register ends showing every stored game of every class.
It prints the figures: PCs, rounds, longest wait, lines lost.

Usage: run_lab.py --solfira PATH --registro PATH [--pcs N] [--rounds N]   (as root: namespaces,
mounts and fanotify need it). Needs what tests/e2e needs, and libfaketime.
"""

import argparse
import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
sys.path.insert(0, HERE)
import game_driver as drive  # noqa: E402
import lab_checks  # noqa: E402
import read_register  # noqa: E402
from folder_watch import FolderWatch  # noqa: E402
from game_driver import check, log, wait_for  # noqa: E402
from lab_game import Game, LabProgram, press_yes  # noqa: E402
from lab_pcs import FAKETIME, PC, Windows  # noqa: E402
from lab_referee import Referee  # noqa: E402

# The longest a pupil may wait for the game to be stored, across "Exit" tries, and the
# longest a lock left by a dead PC may stand: one figure for both.
BOUND = 60  # seconds
PCS = 12
ROUNDS = 3
KILL_ROUND = 2
SLOW_ROUND = 1  # its first PC to press is held SLOW seconds as it starts storing its game
SLOW = 3  # seconds
CLOCKS = {3: "+10m", 8: "-10m"}  # PC number -> its clock's offset
CLASSES = ("3A", "3B")
NAMES = ["Ada", "Bruno", "Carla", "Dario", "Elena", "Fabio", "Giulia", "Ivo", "Lucia", "Marco",
         "Niccolò", "Olga", "Pietro", "Rita", "Sara", "Tullio"]
TIME_LIMIT = 280  # seconds for the whole run, the rounds' waits included


def state_of(pid):
    """What a process is doing, as the kernel tells: its state and where it waits."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            state = f.read().rsplit(")", 1)[1].split()[0]
        with open(f"/proc/{pid}/wchan") as f:
            return f"state {state}, waiting in {f.read() or '-'}"
    except OSError:
        return "gone"


def machine_setting():
    """The machine's own /etc/solfira.conf (which the lab must leave as it is), or None."""
    try:
        with open("/etc/solfira.conf", "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


class Lab:
    def __init__(self, desktop, solfira, registro, pcs):
        self.desktop = desktop
        self.solfira = solfira
        self.registro = registro
        self.folder = os.path.join(desktop.root, "server", "solfira")
        os.makedirs(self.folder)
        conf = f'# the school\'s shared folder\nDataDir="{self.folder}"\n'
        machines = os.path.join(desktop.root, "pcs")
        self.pcs = [PC(machines, f"pc{n:02d}", CLOCKS.get(n, ""), conf)
                    for n in range(1, pcs + 1)]
        self.teacher = PC(machines, "docente", "", conf)
        self.windows = Windows(desktop.display)
        self.errors = open(os.path.join(desktop.root, "programs.err"), "w+")
        self.games = []  # every game started, all rounds
        self.rounds = []  # per round: the figures of lab_checks.check_round_record
        self.referee = Referee(self.folder)
        self.machine_setting = machine_setting()

    # -- the PCs ------------------------------------------------------------------------------

    def check_pcs(self):
        """Each PC as its programs see it: host name, machine id, boot id, setting, clock."""
        seen = {}
        probe = ("hostname; cat /etc/machine-id /proc/sys/kernel/random/boot_id; "
                 "cat /etc/solfira.conf | tr '\\n' ' '; echo; date +%s; "
                 "cat /var/lib/dbus/machine-id 2>/dev/null || cat /etc/machine-id")
        for pc in self.pcs + [self.teacher]:
            out = os.path.join(pc.dir, "probe")
            with open(out, "w") as f:
                check(pc.run(["sh", "-c", probe], self.desktop.env, f) == 0,
                      f"{pc.host} could not be switched on")
            lines = open(out).read().split("\n")
            check(len(lines) >= 6 and lines[0] == pc.host, f"{pc.host} calls itself {lines[:1]}")
            check(lines[1] == lines[5] == pc.identity()[0],
                  f"{pc.host}: machine ids {lines[1]!r}, {lines[5]!r}")
            offset = int(lines[4]) - time.time()
            want = {"+10m": 600, "-10m": -600, "": 0}[pc.clock]
            check(abs(offset - want) < 30, f"{pc.host}: clock {offset:+.0f} s, wanted {want:+d}")
            check(self.folder in lines[3], f"{pc.host}: /etc/solfira.conf reads {lines[3]!r}")
            seen[pc.host] = (lines[1], lines[2])
        for kind, index in (("machine ids", 0), ("boot ids", 1)):
            values = [v[index] for v in seen.values()]
            check(len(set(values)) == len(values), f"{kind} repeat: {values}")
        log(f"{len(self.pcs)} PCs and the teacher's, each with its own host name, machine id "
            f"and boot id; clocks {', '.join(f'pc{n:02d} {c}' for n, c in CLOCKS.items())}")

    def close(self):
        """Switches every PC off, whatever state the run ended in."""
        for pc in self.pcs + [self.teacher]:
            pc.stop()
        self.windows.close()

    def start(self, pc, argv, kind=LabProgram, *args):
        pid = pc.start(argv, self.desktop.env, drive.GAME_ENV, self.errors)
        program = kind(self.desktop, pc, pid, self.windows, *args)
        program.attach()
        return program

    # -- a round ------------------------------------------------------------------------------

    def plan(self, number, record):
        """(pc, player, class, right answers, wrong answers) for each PC, in the order they
        press "Sì": rising scores, games of one score together; in the kill round the victim
        first. Two games beat the record with different scores (three in the kill round, the
        victim one of them), one equals it, the others score less."""
        count = len(self.pcs)
        beating = 3 if number == KILL_ROUND else 2
        # Which PCs beat the record, and which equals it, changes from round to round.
        chosen = []
        for k in range(beating + 1):
            i = (number * 5 + k * 3) % count
            while i in chosen:
                i = (i + 1) % count
            chosen.append(i)
        beaters = {i: record + 1 + k for k, i in enumerate(chosen[:beating])}
        games = []
        for i, pc in enumerate(self.pcs):
            if i in beaters:
                right = beaters[i]
            elif i == chosen[beating] and record:
                right = record  # equals the record: does not beat it
            else:
                right = min(record, i % 3)
            wrong = 1 if right == 0 or i % 4 == 0 else 0
            player = f"{NAMES[i % len(NAMES)]} {number}"
            games.append((pc, player, CLASSES[i % len(CLASSES)], right, wrong))
        games.sort(key=lambda g: g[3])
        if number == KILL_ROUND:
            first = next(g for g in games if g[3] == record + 1)
            games.remove(first)
            games.insert(0, first)
        return games

    def play_round(self, number):
        record_before, _ = lab_checks.read_record(self.folder)
        before = lab_checks.log_lines(self.folder, CLASSES)
        plan = self.plan(number, record_before)
        started = time.monotonic()
        games = [self.start(pc, [self.solfira], Game, player, class_name, right, wrong)
                 for pc, player, class_name, right, wrong in plan]
        self.games += games
        # Every PC's name prompt is up before any pupil types: a window that opens takes the
        # keyboard focus (there is no window manager to refuse it), and a program takes it a
        # moment after the X server shows its window.
        for game in games:
            game.window_id(r"^Solfira$", "the name prompt")
        time.sleep(1)
        for game in games:
            game.play()
            game.ask_exit()
        log(f"round {number}: {len(games)} games played up to the exit question in "
            f"{time.monotonic() - started:.0f} s; record before {record_before}")
        self.referee.storing_from_now(
            games, slow=(games[0], SLOW) if number == SLOW_ROUND else None,
            victim=games[0] if number == KILL_ROUND else None)
        # All press "Sì" within one second, a score 50 ms after the one below.
        groups = []
        for game in games:
            if groups and groups[-1][-1].right == game.right:
                groups[-1].append(game)
            else:
                groups.append([game])
        spread = press_yes(groups)
        check(spread < 1.0, f"round {number}: the presses took {spread:.2f} s")
        self.follow(games, number)
        finished = [g for g in self.games if not g.killed]
        now = lab_checks.log_lines(self.folder, CLASSES)
        added = [g for g in games if not g.killed]
        for class_name in CLASSES:
            check(now[class_name][:len(before[class_name])] == before[class_name],
                  f"round {number}: the lines of {class_name}.txt before it changed")
        score, holder, beaten = lab_checks.check_round_record(self.folder, finished, added,
                                                              record_before)
        self.rounds.append({"spread": spread, "beaten": beaten, "record": score,
                            "holder": holder})
        intruders = self.referee.intruders()
        check(not intruders, f"round {number}: files opened while the lock named another PC "
                             f"or none: {intruders}")
        log(f"round {number}: presses within {spread:.2f} s; new records {beaten}; record "
            f"{score} held by {holder}; longest wait {max(g.waited() for g in added):.1f} s; "
            f"'riprova tra poco' {sum(g.busy for g in games)} times")
        return games

    def follow(self, games, number):
        """Answers the PCs' boxes until every game is stored (or its PC killed)."""
        deadline = time.monotonic() + BOUND + 30
        going = list(games)
        while going:
            now = time.monotonic()
            shown = self.windows.on_screen()
            check(now < deadline, f"round {number}: still going after {BOUND + 30} s: " + "; ".join(
                f"{g.pc.host} shows {[t for _, h, t in shown if h == g.pc.host]} after "
                f"{len(g.presses)} presses and {g.busy} 'riprova', {state_of(g.process.pid)}"
                for g in going))
            going = [g for g in going if g.follow(shown, now)]
            time.sleep(0.02)
        for game in games:
            if not game.killed:
                check(game.process.wait(drive.WAIT) == 0, f"{game.pc.host} did not end well")


def run(desktop, solfira, registro, args):
    started = time.monotonic()
    lab = Lab(desktop, solfira, registro, args.pcs)
    try:
        lab.check_pcs()
        register = lab.start(lab.teacher, [registro])
        wait_for("the register's window", lambda: (
            lambda f: f if f and drive.showing(f) else None)(drive.find(register.app, "frame")))
        with FolderWatch(lab.folder, lab.referee.on_open) as watch:
            for number in range(1, args.rounds + 1):
                for game in lab.play_round(number):
                    if game.killed:
                        game.pc.wait(drive.WAIT)
                        game.pc.reboot()  # switched on again for the next round
            check(not watch.failures, f"the folder watch failed: {watch.failures}")
            figures = check_all(lab, register, args)
        figures["whole run"] = f"{time.monotonic() - started:.0f} s"
        print("\nLAB FIGURES", flush=True)
        for name, value in figures.items():
            print(f"  {name + ':':<44} {value}", flush=True)
    finally:
        print_messages(lab.errors)
        lab.close()


def print_messages(errors):
    """What the programs (and the PCs' `unshare`) wrote on standard error, each kind once."""
    errors.seek(0)
    kinds = {}
    for line in errors.read().splitlines():
        if line.strip():
            kind = re.sub(r"\d+", "N", re.sub(r"'[^']*'|\"[^\"]*\"", "'...'", line.strip()))
            kinds[kind] = kinds.get(kind, 0) + 1
    for kind, count in sorted(kinds.items(), key=lambda k: -k[1]):
        print(f"  message, {count} times: {kind[:150]}", flush=True)


def check_all(lab, register, args):
    finished = [g for g in lab.games if not g.killed]
    lines = lab_checks.log_lines(lab.folder, CLASSES)
    found, strangers = lab_checks.match_games(lines, finished)
    lost = [g for g in finished if len(found[id(g)]) != 1]
    check(not strangers, f"lines that are no stored game's: {strangers}")
    for game in finished:
        for _, _, line in found[id(game)]:
            check((b'-"Data:' in line) == game.new_record,
                  f"{game.player}: the line's form does not match the record message: {line!r}")
    waits = [g.waited() for g in finished]
    beats = [r["beaten"] for r in lab.rounds]
    figures = {
        "PCs": f"{len(lab.pcs)} (clocks: "
               + ", ".join(f"pc{n:02d} {c}" for n, c in CLOCKS.items()) + ")",
        "rounds": f"{len(lab.rounds)}",
        "games stored / started": f"{len(finished)} / {len(lab.games)}",
        "presses of 'Sì' within (longest round)": f"{max(r['spread'] for r in lab.rounds):.2f} s",
        "new records per round (scores)": " ".join(str(b) for b in beats),
        "'riprova tra poco' shown": str(sum(g.busy for g in lab.games)),
        "keys pressed again (lost on the way)": str(sum(g.pressed_again for g in lab.games)),
        "longest wait": f"{max(waits):.1f} s (bound {BOUND} s)",
        "lines lost": str(len(lost)),
    }
    figures["openings of the game's files, all by the lock's holder"] = str(
        len(lab.referee.touches))
    if args.rounds >= KILL_ROUND:
        kill = lab.referee.kill
        check(kill is not None, "the PC to kill was never caught holding the lock")
        check(kill["taken"] is not None, "the dead PC's lock was never taken over")
        taken = kill["taken"] - kill["time"]
        figures["killed PC's lock taken over after"] = f"{taken:.1f} s (bound {BOUND} s)"
        figures["killed while opening"] = kill["opening"]
        victim = next(g for g in lab.games if g.killed)
        lock_lines = kill["lock"].decode(errors="replace").split("\n")
        check(all(part in lock_lines for part in (kill["host"], *kill["identity"])),
              f"the killed PC's lock {lock_lines} does not name its host {kill['host']}, "
              f"machine id and boot id {kill['identity']}")
        check(not any(victim.player.encode("latin-1") in line
                      for ls in lines.values() for line in ls),
              f"the killed game of {victim.player} left a line")
        check(taken <= BOUND, f"the dead PC's lock stood {taken:.1f} s")
    check(not lost, "lines lost: " + ", ".join(
        f"{g.player} ({g.class_name}) found {len(found[id(g)])} times" for g in lost))
    check(any(len(b) >= 2 for b in beats), f"no round had two new records: {beats}")
    check(max(waits) <= BOUND, f"a pupil waited {max(waits):.1f} s")
    leftovers = sorted(set(os.listdir(lab.folder)) - set(lab_checks.RECORD_FILES)
                       - {f"{c}.txt" for c in CLASSES})
    check(not leftovers, f"the folder holds besides its files: {leftovers}")
    outside = lab_checks.game_files_outside(lab.pcs + [lab.teacher], CLASSES)
    check(not outside, f"game files outside the folder: {outside}")
    check(machine_setting() == lab.machine_setting, "the machine's /etc/solfira.conf changed")
    figures["files written outside the folder"] = "0"
    shown = check_register(register, lines, finished)
    figures["register rows / games stored"] = f"{shown} / {len(finished)}"
    return figures


def check_register(register, lines, finished):
    """The register's games table for each class, chosen with the keyboard as a teacher does,
    against the class logs' lines; the number of rows shown."""
    window = register.main_window()
    combo = read_register.class_combo(window)
    # The window's title names the class shown (and the program after it).
    register.xdotool("windowfocus", "--sync", register.window_id("^Classe ", "the register"))
    combo.grab_focus()
    wait_for("the focus on the classes", lambda: drive.has_state(combo,
                                                                 drive.Atspi.StateType.FOCUSED))
    register.key("Home")
    shown = 0
    for index, class_name in enumerate(CLASSES):
        if index:
            register.key("Down")
        wait_for(f"class {class_name} in the register", lambda: combo.get_name() == class_name)
        table = wait_for("the games table",
                         lambda: drive.find(window, "table", name="Partite della classe"))
        expected = []
        for line in lines[class_name]:
            game = next(g for g in finished if g.class_name == class_name and
                        lab_checks.log_line_pattern(g.player, g.right, g.wrong).fullmatch(line))
            expected.append({"Nome": game.player, "Esatte": str(game.right),
                             "Errate": str(game.wrong),
                             "Record": "sì" if game.new_record else "no"})
        wait_for(f"{len(expected)} games of {class_name} in the register",
                 lambda: drive.Atspi.Table.get_n_rows(table) == len(expected), 15)
        rows = [{k: row[k] for k in ("Nome", "Esatte", "Errate", "Record")}
                for row in read_register.read_table(table)]
        check(rows == expected, f"the register shows for {class_name}: {rows}, "
                                f"expected {expected}")
        shown += len(rows)
    return shown


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--solfira", required=True)
    parser.add_argument("--registro", required=True)
    parser.add_argument("--pcs", type=int, default=PCS)
    parser.add_argument("--rounds", type=int, default=ROUNDS)
    args = parser.parse_args()
    check(os.geteuid() == 0, "the lab needs root: namespaces, mounts and fanotify")
    check(os.path.exists(FAKETIME), f"no {FAKETIME}: install libfaketime")
    drive.require_real_locale()
    drive.run_on_private_desktop([args.solfira, args.registro],
                                 lambda desktop, s, r, data: run(desktop, s, r, args), TIME_LIMIT)


if __name__ == "__main__":
    drive.run_main(main)
