"""What the lab does and sees at the shared folder while the games store their results, from
the kernel's report of each opening (folder_watch.py):
  - each opening of a file of the game by a game that is storing its result is checked to
    happen while the lock file names that game's PC: two PCs are never inside at once;
  - a slow PC: the first opening of a game after its "Sì" is held back SLOW seconds, as a
    slow share or an overloaded PC may hold it between two steps;
  - a dead PC: the victim is switched off (its namespace SIGKILLed) at its first opening of a
    file other than the lock while the lock names it, i.e. in the middle of storing its game;
    then the moment its lock is taken over is noted.
"""

import os
import re
import threading
import time

from folder_watch import wait_gone

LOCK = ".solfira.lock"


def names(lock_text, host):
    """Whether the lock's text names `host` (the QLockFile format has it on a line of its own)."""
    return re.search(rb"(?m)^" + re.escape(host.encode()) + rb"$", lock_text) is not None


class Referee:
    def __init__(self, folder):
        self.folder = folder
        self.lock = os.path.join(folder, LOCK)
        self.storing = {}  # process id -> game, from just before its "Sì"
        self.slow = None  # (game, seconds): its next opening is held that long
        self.victim = None  # the game whose PC is switched off mid-way
        self.kill = None  # time, the file being opened, the lock's text, time taken over
        self.touches = []  # (host, file, the lock's text then, whether it named the host)
        self.mutex = threading.Lock()

    def storing_from_now(self, games, slow=None, victim=None):
        """The games are about to press "Sì"."""
        with self.mutex:
            self.storing = {g.process.pid: g for g in games}
            self.slow = slow
            self.victim = victim

    def intruders(self):
        """The openings of a game's file by a PC the lock did not name: (host, file, the
        lock's text)."""
        return [(host, name, text) for host, name, text, named in self.touches if not named]

    def read_lock(self):
        try:
            with open(self.lock, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def on_open(self, pid, path):
        """FolderWatch's question for each opening (called while the opening waits)."""
        with self.mutex:
            game = self.storing.get(pid)
            if game is None or game.killed:
                return None
            name = os.path.basename(path)
            slow = self.slow[1] if self.slow and self.slow[0] is game else 0
            if slow:
                self.slow = None
            victim = game is self.victim
        if slow:
            return lambda: time.sleep(slow)
        if name.startswith(LOCK):  # the lock itself, Qt's ".rmlock" and the game's probe
            return None
        return lambda: self._inside(game, name, victim)

    def _inside(self, game, name, victim):
        text = self.read_lock()
        named = text is not None and names(text, game.pc.host)
        self.touches.append((game.pc.host, name, text, named))
        if game.entered is None:
            game.entered = time.monotonic()
        if victim and named:
            inode = os.stat(self.lock).st_ino
            identity = game.pc.identity()
            game.pc.kill()
            killed = time.monotonic()
            game.killed = True
            self.victim = None
            self.kill = {"time": killed, "opening": name, "lock": text, "taken": None,
                         "host": game.pc.host, "identity": identity}
            if not wait_gone(game.process.pid, 5):
                raise RuntimeError(f"{game.pc.host} did not die")
            threading.Thread(target=self._watch_takeover, args=(inode, text), daemon=True).start()

    def _watch_takeover(self, inode, text):
        """Notes the moment the dead PC's lock is gone or another's is in its place."""
        while True:
            try:
                if os.stat(self.lock).st_ino == inode and self.read_lock() == text:
                    time.sleep(0.01)
                    continue
            except FileNotFoundError:
                pass
            self.kill["taken"] = time.monotonic()
            self.kill["after"] = self.read_lock()
            return
