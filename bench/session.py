# SPDX-License-Identifier: GPL-2.0-or-later
"""A headless desktop and a stand-in client for the measurement scripts."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../scripts"))
import desktop  # noqa: E402
from desktop import DesktopError, run_with, wait_for  # noqa: E402,F401  (for the scripts)


def _report(kind, error, trace, default=sys.excepthook):
    # What did not come up is said in one line, not a traceback.
    if issubclass(kind, DesktopError):
        print("corvane: %s" % error, file=sys.stderr)
    else:
        default(kind, error, trace)


sys.excepthook = _report


class Desktop(desktop.Desktop):
    """The shared headless desktop, with the tray host unless told otherwise."""

    def __init__(self, tray=True):
        super().__init__((1024, 768), tray)

    def window(self, title):
        """The id of the visible window with that title, or None."""
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                             env=self.env, capture_output=True, text=True).stdout.split()
        return out[0] if out else None


class Client:
    """The stand-in client, running and logged in, in a home of its own."""

    def __init__(self, standin_bin, networks=3, members=4):
        self.home = tempfile.mkdtemp(prefix="corvane-bench-home-")
        self.dir = self.home + "/.hamachi/"
        os.makedirs(self.dir, mode=0o700)
        with open(self.dir + "state", "w") as f:
            f.write("Identity   5.71.20.14\nNickname   bench\n")
        with open(self.dir + "running", "w") as f:
            f.write("4242\n")
        open(self.dir + "logged-in", "w").close()
        with open(self.dir + "networks", "w") as f:
            for n in range(networks):
                f.write("network\tnet-%d\tonline\t\n" % n)
                for m in range(members):
                    f.write("member\t5.0.%d.%d\tmember-%d\tonline\n" % (n, m, m))
        self.env = {"HOME": self.home, "USER": "bench",
                    "PATH": standin_bin + ":" + os.environ["PATH"]}
        subprocess.run([standin_bin + "/tuncfg"], env=dict(os.environ, **self.env), check=True)

    def close(self):
        pids = self.home + "/.hamachi-standin/tuncfg.pids"
        if os.path.exists(pids):
            for line in open(pids):
                try:
                    os.kill(int(line), signal.SIGTERM)
                except (ValueError, ProcessLookupError):
                    pass
        shutil.rmtree(self.home, ignore_errors=True)


def proc_status(pid, field):
    for line in open("/proc/%d/status" % pid):
        if line.startswith(field + ":"):
            return int(line.split()[1])
    raise KeyError(field)


def cpu_ticks(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime
