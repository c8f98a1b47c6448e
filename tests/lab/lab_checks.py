"""What the shared folder must hold after the lab's rounds: the class logs' lines, the record,
and nothing of the game anywhere else."""

import os
import re

from game_driver import check

RECORD_FILES = ("velmora.txt", "velmora1.txt")


def log_line_pattern(player, right, wrong):
    """A whole line of the game in its class log: group 1 is the form's mark ('-"' for a
    game that set the record)."""
    name = re.escape(player.encode("latin-1"))
    return re.compile(rb"Nome:  " + name + rb"(?: |  )Risposte esatte %d  Risposte errate  %d"
                      rb"Tempo restante   \d\d:[0-5]\d:[0-5]\d(-\"Data:  |Data:   )"
                      rb"\d\d/\d\d/\d{4}" % (right, wrong))


def read_folder(folder):
    files = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            files[name] = f.read()
    return files


def read_record(folder):
    """(score, holder) as the record files hold them; (0, "") before any record."""
    parts = []
    for name in RECORD_FILES:
        path = os.path.join(folder, name)
        parts.append(open(path, "rb").read() if os.path.exists(path) else b"")
    score, holder = parts
    check(score == b"" or re.fullmatch(rb"\d+\r\n", score), f"velmora.txt holds {score!r}")
    check(holder == b"" or holder.endswith(b"\r\n") and holder.count(b"\n") == 1,
          f"velmora1.txt holds {holder!r}")
    return (int(score) if score else 0), holder[:-2].decode("latin-1")


def log_lines(folder, class_names):
    """Each class log's lines, checked to end in CR LF with no bare line break."""
    lines = {}
    for class_name in class_names:
        path = os.path.join(folder, f"{class_name}.txt")
        content = open(path, "rb").read() if os.path.exists(path) else b""
        check(content == b"" or content.endswith(b"\r\n"),
              f"{class_name}.txt ends in a line cut short: {content[-80:]!r}")
        parts = content.split(b"\r\n")[:-1]
        check(all(b"\n" not in p and b"\r" not in p for p in parts),
              f"{class_name}.txt holds a bare line break")
        lines[class_name] = parts
    return lines


def match_games(lines, games):
    """For each finished game, its lines in its class log; lines that are no game's."""
    found = {id(g): [] for g in games}
    strangers = []
    patterns = [(g, log_line_pattern(g.player, g.right, g.wrong)) for g in games]
    for class_name, class_lines in lines.items():
        for number, line in enumerate(class_lines):
            owners = [g for g, p in patterns
                      if g.class_name == class_name and p.fullmatch(line)]
            if len(owners) == 1:
                found[id(owners[0])].append((class_name, number, line))
            else:
                strangers.append((class_name, line))
    return found, strangers


def check_round_record(folder, finished, round_games, record_before):
    """The record after a round: the highest score of every game stored so far, held by the
    game that set it. Taken in the order they stored their results, the round's games that
    beat the record at their turn, and only those, set it: it never goes down.
    Returns (score, holder, [scores of this round's new records])."""
    score, holder = read_record(folder)
    best = max((g.right for g in finished), default=0)
    check(score == best, f"the record is {score}, the best score stored is {best}")
    if best > 0:
        setters = [g for g in finished if g.right == best and g.new_record]
        check(len(setters) == 1 and setters[0].player == holder,
              f"the record {score} is held by {holder!r}; set by "
              f"{[g.player for g in setters]}")
    running = record_before
    beaten = []
    for game in sorted(round_games, key=lambda g: g.entered):
        beats = game.right > running
        check(game.new_record == beats,
              f"{game.player} scored {game.right} against a record of {running}: "
              f"{'no ' if not game.new_record else ''}new record")
        if beats:
            running = game.right
            beaten.append(game.right)
    check(running == score, f"the games in turn make a record of {running}, the files {score}")
    return score, holder, beaten


def game_files_outside(pcs, class_names):
    """Files anywhere in the PCs' own folders (HOME, runtime, /etc laid over) that only the
    game would write: its record files, class logs, lock or data folder."""
    data_names = {n.lower() for n in RECORD_FILES} | {f"{c}.txt".lower() for c in class_names}
    found = []
    for pc in pcs:
        for path in pc.files():
            name = os.path.basename(path).lower()
            if (name in data_names or name.startswith(".solfira")
                    or f"{os.sep}solfira{os.sep}" in path.lower()):
                found.append(path)
    return found
