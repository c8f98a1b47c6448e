"""Simulated school PCs on one machine, each in namespaces of its own.

A PC is an `unshare`d group of processes (tests/lab/pc_init.py is its first process) with its
own host name, machine id (/etc/machine-id), boot id, /etc (the machine's, with the PC's files
laid over it: /etc/solfira.conf among them), HOME, configuration and runtime folders, and
optionally a clock set ahead or behind with libfaketime. All PCs show their windows on one X
server and reach one accessibility bus, as the pupils of a room see one screen each.
"""

import ctypes
import ctypes.util
import os
import signal
import subprocess
import sys
import time
import uuid

HERE = os.path.dirname(os.path.abspath(__file__))
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"


def children_of(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            return [int(p) for p in f.read().split()]
    except OSError:
        return []


def parent_of(pid):
    with open(f"/proc/{pid}/stat") as f:
        return int(f.read().rsplit(")", 1)[1].split()[1])


class PC:
    def __init__(self, root, host, clock="", conf=""):
        """`clock`: libfaketime's offset ("+10m", "-10m") or "" for the right time; `conf`:
        the text of the PC's /etc/solfira.conf, or "" for none."""
        self.host = host
        self.clock = clock
        self.dir = os.path.join(root, host)
        self.home = os.path.join(self.dir, "home")
        self.runtime = os.path.join(self.dir, "runtime")
        self.etc = os.path.join(self.dir, "etc")  # what the PC's /etc holds over the machine's
        for d in (self.home, self.runtime, self.etc, os.path.join(self.dir, "etc-work")):
            os.makedirs(d, mode=0o700)
        with open(os.path.join(self.etc, "machine-id"), "w") as f:
            f.write(uuid.uuid4().hex + "\n")
        if conf:
            with open(os.path.join(self.etc, "solfira.conf"), "w") as f:
                f.write(conf)
        self.boots = 0
        self.reboot()
        self.unshare = None  # the `unshare` process of the PC running now
        self.init_pid = None  # the PC's first process, as this machine numbers it

    def reboot(self):
        """A new boot id, as a PC gets when it is switched on again."""
        self.boots += 1
        with open(os.path.join(self.dir, "boot_id"), "w") as f:
            f.write(str(uuid.uuid4()) + "\n")

    def identity(self):
        """The PC's machine id and boot id as its programs read them."""
        with open(os.path.join(self.etc, "machine-id")) as m, \
                open(os.path.join(self.dir, "boot_id")) as b:
            return m.read().strip(), b.read().strip()

    def files(self):
        """Every file of the PC's own folders (HOME, runtime, /etc laid over), by path."""
        found = []
        for top in (self.home, self.runtime, self.etc):
            for folder, _, names in os.walk(top):
                found += [os.path.join(folder, n) for n in names]
        return found

    def environment(self, desktop_env):
        env = {k: v for k, v in desktop_env.items()
               if k in ("PATH", "DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "LOCPATH")}
        env.update(HOME=self.home, XDG_RUNTIME_DIR=self.runtime,
                   XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                   GSETTINGS_BACKEND="memory")
        if self.clock:
            # The program's clock only: file times stay the folder's own (NO_FAKE_STAT), and the
            # monotonic clock behind Qt's timers is left alone.
            env.update(PC_PRELOAD=FAKETIME, FAKETIME=self.clock, NO_FAKE_STAT="1",
                       DONT_FAKE_MONOTONIC="1")
        return env

    def _command(self, argv):
        return ["unshare", "--uts", "--mount", "--pid", "--fork", "--mount-proc",
                "--propagation", "private", sys.executable, os.path.join(HERE, "pc_init.py"),
                self.host, self.etc, os.path.join(self.dir, "etc-work"),
                os.path.join(self.dir, "boot_id"), "--", *argv]

    def run(self, argv, desktop_env, stdout):
        """Runs a short command on the PC, switched on for it alone; its exit status."""
        return subprocess.run(self._command(argv), env=self.environment(desktop_env),
                              stdout=stdout, timeout=30).returncode

    def start(self, argv, desktop_env, extra_env, stderr):
        """Switches the PC on and runs `argv` on it; the program's process id on this machine."""
        env = self.environment(desktop_env)
        env.update(extra_env)
        self.unshare = subprocess.Popen(self._command(argv), env=env, stdout=subprocess.DEVNULL,
                                        stderr=stderr, start_new_session=True)
        # The PC's first process is the one `unshare` forks; the program is the descendant
        # that runs `argv[0]` (the first process runs `mount` before it).
        program = os.path.realpath(argv[0])
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            inits = children_of(self.unshare.pid)
            for pid in inits + [c for i in inits for c in children_of(i)]:
                try:
                    if os.readlink(f"/proc/{pid}/exe") == program:
                        self.init_pid = parent_of(pid)
                        return pid
                except OSError:
                    continue
            if self.unshare.poll() is not None:
                raise RuntimeError(f"{self.host} ended at start with {self.unshare.returncode}")
            time.sleep(0.01)
        raise RuntimeError(f"{self.host}: the program did not start")

    def kill(self):
        """Pulls the plug: SIGKILL to the PC's first process, which takes the whole PID
        namespace with it."""
        os.kill(self.init_pid, signal.SIGKILL)

    def wait(self, timeout):
        """The PC's exit status once it is off (the program's status, -9 when killed)."""
        return self.unshare.wait(timeout=timeout)

    def stop(self):
        if self.unshare is not None and self.unshare.poll() is None:
            try:
                os.kill(self.init_pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.unshare.wait()


class _Attributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong), ("class_", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


IS_VIEWABLE = 2


class Windows:
    """The X server's top-level windows on screen, with their titles and the host each was
    opened from (WM_CLIENT_MACHINE): every PC numbers its processes from 1, so the process id
    a window names is no help. Asking the X server never waits on a program, even one busy
    in a long step."""

    def __init__(self, display):
        X = ctypes.c_ulong
        lib = ctypes.CDLL(ctypes.util.find_library("X11"))
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XDefaultRootWindow.restype = X
        lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        lib.XInternAtom.restype = X
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XQueryTree.argtypes = [ctypes.c_void_p, X, ctypes.POINTER(X), ctypes.POINTER(X),
                                   ctypes.POINTER(ctypes.POINTER(X)),
                                   ctypes.POINTER(ctypes.c_uint)]
        lib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, X, ctypes.POINTER(_Attributes)]
        lib.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, X, X, ctypes.c_long, ctypes.c_long, ctypes.c_int, X,
            ctypes.POINTER(X), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(X),
            ctypes.POINTER(X), ctypes.POINTER(ctypes.c_void_p)]
        lib.XFree.argtypes = [ctypes.c_void_p]
        lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        # A window may go away between listing and reading: ignore X's errors, not exit.
        handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
        self._ignore = handler(lambda dpy, event: 0)
        lib.XSetErrorHandler.argtypes = [handler]
        lib.XSetErrorHandler(self._ignore)
        self.lib = lib
        self.dpy = lib.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display}")
        self.root = lib.XDefaultRootWindow(self.dpy)
        self.atoms = {name: lib.XInternAtom(self.dpy, name.encode(), 0)
                      for name in ("WM_CLIENT_MACHINE", "_NET_WM_NAME")}

    def _property(self, xid, atom):
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = self.lib.XGetWindowProperty(
            self.dpy, xid, self.atoms[atom], 0, 1024, 0, 0, ctypes.byref(kind),
            ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data.value:
            return None
        value = ctypes.string_at(data.value, count.value).decode(errors="replace").rstrip("\0")
        self.lib.XFree(data)
        return value

    def on_screen(self):
        """(window id, host, title) of each window shown, bottom to top."""
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        kids, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        self.lib.XSync(self.dpy, 0)
        if not self.lib.XQueryTree(self.dpy, self.root, ctypes.byref(root), ctypes.byref(parent),
                                   ctypes.byref(kids), ctypes.byref(count)):
            return []
        ids = [kids[i] for i in range(count.value)]
        if kids:
            self.lib.XFree(kids)
        shown = []
        for xid in ids:
            attributes = _Attributes()
            if not self.lib.XGetWindowAttributes(self.dpy, xid, ctypes.byref(attributes)):
                continue
            if attributes.map_state != IS_VIEWABLE:
                continue
            # Read each time: the X server gives a new program the window ids of one gone.
            host = self._property(xid, "WM_CLIENT_MACHINE")
            if host is not None:
                shown.append((xid, host, self._property(xid, "_NET_WM_NAME") or ""))
        return shown

    def close(self):
        self.lib.XCloseDisplay(self.dpy)
