"""A headless desktop and a stand-in client for the measurement scripts."""
import os
import shutil
import signal
import subprocess
import tempfile
import time


class Desktop:
    """Xvfb with a window manager; the tray host too when asked."""

    def __init__(self, tray=True):
        self.tmp = tempfile.mkdtemp(prefix="corvane-bench-")
        self.children = []
        read, write = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp"], pass_fds=(write,))
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read)
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip(),
                        XDG_RUNTIME_DIR=self.tmp, XDG_CACHE_HOME=self.tmp + "/cache")
        self._spawn(["openbox", "--sm-disable"])
        wait_for(lambda: subprocess.run(["wmctrl", "-m"], env=self.env,
                                        capture_output=True).returncode == 0)
        if tray:
            self._spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype",
                         "request", "--height", "24", "--SetDockType", "true",
                         "--transparent", "false"])

    def _spawn(self, argv, **kwargs):
        proc = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                env=getattr(self, "env", None), **kwargs)
        self.children.append(proc)
        return proc

    def window(self, title):
        """The id of the visible window with that title, or None."""
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                             env=self.env, capture_output=True, text=True).stdout.split()
        return out[0] if out else None

    def close(self):
        for proc in reversed(self.children):
            proc.terminate()
            proc.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


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


def wait_for(check, timeout=10.0, step=0.005):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if check():
            return True
        time.sleep(step)
    raise TimeoutError("gave up waiting")


def proc_status(pid, field):
    for line in open("/proc/%d/status" % pid):
        if line.startswith(field + ":"):
            return int(line.split()[1])
    raise KeyError(field)


def cpu_ticks(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime
