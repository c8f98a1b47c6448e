"""Every opening of a file in the shared folder, seen by the kernel before it happens
(fanotify permission events, which need root): a test can stop a program at the very moment
it opens a given file, with whatever it holds (a lock) still held, and pull the plug on it
there. Only openings are held back, and each for as long as the test takes to decide; the
programs see their files exactly as they are.
"""

import ctypes
import os
import select
import struct
import threading
import time

FAN_CLOEXEC = 0x01
FAN_CLASS_CONTENT = 0x04
FAN_MARK_ADD = 0x01
FAN_OPEN_PERM = 0x00010000
FAN_EVENT_ON_CHILD = 0x08000000
FAN_ALLOW = 0x01
EVENT = struct.Struct("=IBBHQii")  # event_len, vers, reserved, metadata_len, mask, fd, pid

_libc = ctypes.CDLL(None, use_errno=True)
_libc.fanotify_init.argtypes = [ctypes.c_uint, ctypes.c_uint]
_libc.fanotify_mark.argtypes = [ctypes.c_int, ctypes.c_uint, ctypes.c_uint64, ctypes.c_int,
                                ctypes.c_char_p]


class FolderWatch:
    """Use as a context manager. `on_open(pid, path)` is called for each opening of a file of
    `folder` (pid as this machine numbers processes) while the opening waits; it returns None
    to let it go on at once, or a function that is run on a thread of its own while the
    opening keeps waiting, and lets it go on when it returns."""

    def __init__(self, folder, on_open):
        self.folder = folder
        self.on_open = on_open
        self.fd = None
        self.thread = None
        self.stopping = False
        self.failures = []  # what went wrong on the watching threads
        self.opens = 0

    def __enter__(self):
        self.fd = _libc.fanotify_init(FAN_CLOEXEC | FAN_CLASS_CONTENT, os.O_RDONLY)
        if self.fd < 0:
            raise OSError(ctypes.get_errno(), "fanotify_init (the lab runs as root)")
        if _libc.fanotify_mark(self.fd, FAN_MARK_ADD, FAN_OPEN_PERM | FAN_EVENT_ON_CHILD, -1,
                               self.folder.encode()) < 0:
            raise OSError(ctypes.get_errno(), f"fanotify_mark {self.folder}")
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stopping = True
        self.thread.join(5)
        # Closing the group lets every opening still waiting go on.
        os.close(self.fd)
        return False

    def _allow(self, fd):
        try:
            os.write(self.fd, struct.pack("=iI", fd, FAN_ALLOW))
        except OSError:
            pass  # the opening process is gone (killed while it waited)
        os.close(fd)

    def _run(self):
        while not self.stopping:
            ready, _, _ = select.select([self.fd], [], [], 0.1)
            if not ready:
                continue
            buffer = os.read(self.fd, 64 * EVENT.size)
            offset = 0
            while offset < len(buffer):
                length, _, _, _, mask, fd, pid = EVENT.unpack_from(buffer, offset)
                offset += length
                if fd < 0:
                    continue
                self.opens += 1
                try:
                    path = os.readlink(f"/proc/self/fd/{fd}")
                    held = self.on_open(pid, path)
                except Exception as error:  # noqa: BLE001 - reported by the test
                    self.failures.append(f"watching {pid}: {error!r}")
                    held = None
                if held is None:
                    self._allow(fd)
                else:
                    threading.Thread(target=self._hold, args=(held, fd), daemon=True).start()

    def _hold(self, held, fd):
        try:
            held()
        except Exception as error:  # noqa: BLE001 - reported by the test
            self.failures.append(f"holding an opening: {error!r}")
        finally:
            self._allow(fd)


def wait_gone(pid, timeout):
    """Waits until process `pid` no longer exists (reaped or a zombie); whether it went."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            with open(f"/proc/{pid}/stat") as f:
                if f.read().rsplit(")", 1)[1].split()[0] in ("Z", "X"):
                    return True
        except OSError:
            return True
        time.sleep(0.005)
    return False
