"""A private desktop for one run of a program: an X server, a D-Bus session bus and an
accessibility bus, each started here and stopped here by the id of the process started.

Nothing is shared with the machine's own desktop: the display number is picked by the X
server itself (-displayfd), the session bus and the runtime, home and configuration
folders live in a temporary folder that is removed at the end.
"""

import ctypes
import ctypes.util
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time


class DesktopError(RuntimeError):
    pass


def _wait_line(stream, timeout, what):
    """The first line a process writes on `stream`, waiting at most `timeout` seconds."""
    deadline = time.monotonic() + timeout
    data = b""
    fd = stream.fileno()
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0:
            raise DesktopError(f"{what} did not start within {timeout} s")
        ready, _, _ = select.select([fd], [], [], left)
        if ready:
            chunk = os.read(fd, 4096)
            if not chunk:
                raise DesktopError(f"{what} ended before it was ready")
            data += chunk
    return data.decode().strip()


class Desktop:
    """Use as a context manager; `env` is the environment for programs run on it."""

    def __init__(self, width=1280, height=1024):
        self.size = (width, height)
        self.processes = []  # (name, Popen), stopped in reverse order
        self.root = None
        self.env = None
        self.display = None

    # -- starting ---------------------------------------------------------------------------

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _spawn(self, name, argv, **kwargs):
        # Each process leads its own process group, so that what it starts in turn (the
        # accessibility bus under its launcher) is stopped with it.
        proc = subprocess.Popen(argv, start_new_session=True, **kwargs)
        self.processes.append((name, proc))
        return proc

    def _start(self):
        self.root = tempfile.mkdtemp(prefix="solfira-e2e-")
        runtime = os.path.join(self.root, "runtime")
        home = os.path.join(self.root, "home")
        for d in (runtime, home):
            os.makedirs(d, mode=0o700)
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": home,
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "GSETTINGS_BACKEND": "memory",
            "LC_ALL": "C.UTF-8",
        }
        # Private locale data made for the tests when they do not run as root.
        if os.environ.get("LOCPATH"):
            env["LOCPATH"] = os.environ["LOCPATH"]

        # X server: it chooses a free display number and tells it once it accepts clients.
        read_fd, write_fd = os.pipe()
        w, h = self.size
        xvfb = self._spawn("Xvfb", ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                    f"{w}x{h}x24", "-nolisten", "tcp", "-noreset"],
                           pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, env=env)
        os.close(write_fd)
        with os.fdopen(read_fd, "rb", buffering=0) as pipe:
            number = _wait_line(pipe, 20, "Xvfb")
        if xvfb.poll() is not None:
            raise DesktopError("Xvfb ended at start")
        self.display = f":{number}"
        env["DISPLAY"] = self.display

        # Session bus.
        bus = self._spawn("dbus-daemon", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                           "--print-address=1"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
        env["DBUS_SESSION_BUS_ADDRESS"] = _wait_line(bus.stdout, 20, "dbus-daemon")

        # Accessibility bus, registered on the session bus as org.a11y.Bus.
        self._spawn("at-spi-bus-launcher", ["/usr/libexec/at-spi-bus-launcher",
                                            "--launch-immediately"],
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
        self.env = env
        self._wait_for_a11y_bus()

    def _wait_for_a11y_bus(self, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            probe = subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                 "org.a11y.Bus.GetAddress"], env=self.env, capture_output=True, timeout=10)
            if probe.returncode == 0 and b"unix:" in probe.stdout:
                return
            time.sleep(0.1)
        raise DesktopError("the accessibility bus did not start")

    # -- programs on the desktop ------------------------------------------------------------

    def start(self, name, argv, env=None, **kwargs):
        """Starts a program on this desktop; it is stopped with the desktop if still running."""
        full_env = dict(self.env)
        full_env.update(env or {})
        return self._spawn(name, argv, env=full_env, **kwargs)

    def bind_keysyms(self, keysyms):
        """Puts each keysym (by name, "egrave") on a keycode of its own that has none, so that
        xdotool types it with no rebinding on the fly."""
        lib = ctypes.CDLL(ctypes.util.find_library("X11"))
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XStringToKeysym.restype = ctypes.c_ulong
        lib.XStringToKeysym.argtypes = [ctypes.c_char_p]
        lib.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                         ctypes.POINTER(ctypes.c_int)]
        lib.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        lib.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                            ctypes.POINTER(ctypes.c_int)]
        lib.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                               ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
        lib.XFree.argtypes = [ctypes.c_void_p]
        lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        dpy = lib.XOpenDisplay(self.display.encode())
        if not dpy:
            raise DesktopError("cannot open the display to bind keys")
        try:
            low, high = ctypes.c_int(), ctypes.c_int()
            lib.XDisplayKeycodes(dpy, ctypes.byref(low), ctypes.byref(high))
            count = high.value - low.value + 1
            per = ctypes.c_int()
            table = lib.XGetKeyboardMapping(dpy, low.value, count, ctypes.byref(per))
            free = [low.value + i for i in range(count)
                    if all(table[i * per.value + j] == 0 for j in range(per.value))]
            lib.XFree(table)
            if len(free) < len(keysyms):
                raise DesktopError("no spare keycodes to bind")
            for code, name in zip(reversed(free), keysyms):
                sym = lib.XStringToKeysym(name.encode())
                pair = (ctypes.c_ulong * 2)(sym, lib.XStringToKeysym(name.capitalize().encode()))
                lib.XChangeKeyboardMapping(dpy, code, 2, pair, 1)
            lib.XSync(dpy, 0)
        finally:
            lib.XCloseDisplay(dpy)

    # -- stopping ---------------------------------------------------------------------------

    def close(self):
        for name, proc in reversed(self.processes):
            stop_group(proc)
        self.processes = []
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)
            self.root = None


def stop_group(proc, grace=3.0):
    """Stops a process started here and the process group it leads: TERM, then KILL.

    The leader is waited for without being reaped, so that its id, and with it the id of
    its group, cannot be taken by another process while what is left of the group is killed.
    """
    if proc.returncode is not None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            pass
        deadline = time.monotonic() + grace
        while time.monotonic() < deadline:
            if os.waitid(os.P_PID, proc.pid, os.WEXITED | os.WNOHANG | os.WNOWAIT):
                try:
                    os.killpg(proc.pid, signal.SIGKILL)  # whatever the leader left behind
                except ProcessLookupError:
                    pass
                proc.wait()
                return
            time.sleep(0.02)
    proc.wait()
