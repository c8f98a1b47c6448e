#!/usr/bin/python3
"""The first process of one simulated PC, run by `unshare` in new UTS, mount and PID
namespaces: gives the PC its host name, its own /etc (the machine's, with this PC's files laid
over it: its machine id among them), boot id and D-Bus's copy of the machine id, then starts
the program and ends with it.

Usage (from lab_pcs.py): pc_init.py HOSTNAME ETC_UPPER ETC_WORK BOOT_ID_FILE -- PROGRAM ARGS...
The program's environment is this process's, with PC_PRELOAD (if set) as its LD_PRELOAD:
the clock library is loaded by the program only, never by mount or by this process.
"""

import os
import signal
import socket
import subprocess
import sys


def main():
    host, upper, work, boot_id = sys.argv[1:5]
    assert sys.argv[5] == "--"
    program = sys.argv[6:]
    socket.sethostname(host)
    # Writes to /etc land in this PC's upper folder; the machine's /etc is never changed.
    subprocess.run(["mount", "-t", "overlay", "overlay", "-o",
                    f"lowerdir=/etc,upperdir={upper},workdir={work}", "/etc"], check=True)
    subprocess.run(["mount", "--bind", boot_id, "/proc/sys/kernel/random/boot_id"], check=True)
    # Qt reads D-Bus's copy of the machine id first; a system may keep it as a file of its own.
    dbus_copy = "/var/lib/dbus/machine-id"
    if os.path.exists(dbus_copy) and not os.path.islink(dbus_copy):
        subprocess.run(["mount", "--bind", "/etc/machine-id", dbus_copy], check=True)
    env = dict(os.environ)
    preload = env.pop("PC_PRELOAD", "")
    if preload:
        env["LD_PRELOAD"] = preload
    child = subprocess.Popen(program, env=env)
    # The PC's first process: a stop request ends the program with it.
    signal.signal(signal.SIGTERM, lambda *_: child.terminate())
    sys.exit(child.wait())


if __name__ == "__main__":
    main()
