"""Runs the real corvane binary in a private headless X session (window
manager, tray host, session bus) against the stand-in client, and drives it
with the pointer and keyboard the way a person would."""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import warnings

SCREEN = (1280, 800)
POLL = 0.05


def wait_for(what, probe, timeout=5.0):
    """Polls probe() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(POLL)
    return value


def proc_stat(pid):
    """(comm, state, ppid, cpu ticks) from /proc, or None once it is gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            text = f.read()
    except OSError:
        return None
    # comm may hold blanks and parentheses: it ends at the last ')'.
    rest = text[text.rindex(")") + 2 :].split()
    return text[text.index("(") + 1 : text.rindex(")")], rest[0], int(rest[1]), \
        int(rest[11]) + int(rest[12])


def is_live(pid, comm=None):
    """A zombie still answers kill -0, so liveness is judged from /proc."""
    info = proc_stat(pid)
    return bool(info) and info[1] not in "ZX" and comm in (None, info[0])


def live_tuncfg_pids():
    return [int(p) for p in os.listdir("/proc") if p.isdigit() and is_live(int(p), "tuncfg")]


def reap(pid):
    try:
        os.waitpid(pid, os.WNOHANG)
    except ChildProcessError:
        pass


class Rig:
    def __init__(self, name, corvane, standin_bin):
        self.name = name
        self.corvane = os.path.abspath(corvane)
        self.standin_bin = os.path.abspath(standin_bin)
        self.children = []  # Popen objects in start order
        self.program = None
        self.display = None
        self._at = None

    # ---- session -------------------------------------------------------

    def __enter__(self):
        try:
            self._start_session()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, kind, value, tb):
        if kind is not None and self.display:
            self._report_failure()
        self.close()

    def _start_session(self):
        # Daemons that detach (tuncfg, the accessibility bus) are re-parented
        # here instead of to init, so teardown can end and reap them.
        ctypes.CDLL(None).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
        self.tmp = tempfile.mkdtemp(prefix="corvane-e2e-")
        self.home, self.bin, xdg = (os.path.join(self.tmp, d) for d in ("home", "bin", "xdg"))
        for d in (self.home, self.bin, xdg):
            os.mkdir(d, 0o700)
        self.config = os.path.join(self.home, ".hamachi")
        self.control = os.path.join(self.home, ".hamachi-standin")

        read_fd, write_fd = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                     "%dx%dx24" % SCREEN, "-nolisten", "tcp"], pass_fds=(write_fd,))
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            self.display = ":" + f.readline().strip()
        if self.display == ":":
            raise RuntimeError("Xvfb did not report a display")
        self.env = {"PATH": "/usr/bin:/bin", "HOME": self.home, "USER": "tester",
                    "LOGNAME": "tester", "LANG": "C.UTF-8", "DISPLAY": self.display,
                    "XDG_RUNTIME_DIR": xdg, "XDG_CACHE_HOME": xdg}

        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        if not self.env["DBUS_SESSION_BUS_ADDRESS"]:
            raise RuntimeError("dbus-daemon did not report its address")

        self._spawn(["openbox", "--sm-disable"])
        wait_for("the window manager", lambda: self._run(["wmctrl", "-m"], check=False)[0] == 0)
        self._spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                     "--height", "24", "--SetDockType", "true", "--transparent", "false"])
        self.panel = wait_for("the tray host", lambda: self._search("--classname", "panel"))[0]

    def _spawn(self, argv, **kw):
        kw.setdefault("stdout", subprocess.DEVNULL)
        proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                env=getattr(self, "env", None), start_new_session=True, **kw)
        self.children.append(proc)
        return proc

    def close(self):
        for proc in [self.program] if self.program else []:
            self._end(proc)
        self._stop_tuncfg()
        # Removing the control folder also makes an unrecorded tuncfg leave.
        if hasattr(self, "tmp"):
            shutil.rmtree(self.tmp, ignore_errors=True)
        for proc in reversed(self.children):
            self._end(proc)
        self._end_orphans()

    @staticmethod
    def _end(proc):
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(3)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        if proc.stdout:
            proc.stdout.close()

    def _tuncfg_pids(self):
        try:
            with open(os.path.join(self.control, "tuncfg.pids")) as f:
                return [int(word) for word in f.read().split()]
        except (OSError, AttributeError):
            return []

    def _stop_tuncfg(self):
        pids = self._tuncfg_pids()
        # Only processes still named tuncfg: a recorded pid may have been reused.
        for pid in pids:
            if is_live(pid, "tuncfg"):
                os.kill(pid, signal.SIGTERM)
        for pid in pids:
            try:
                wait_for(f"tuncfg {pid} to end", lambda: not is_live(pid, "tuncfg"), 3)
            except AssertionError:
                os.kill(pid, signal.SIGKILL)
            reap(pid)

    def _end_orphans(self):
        """Ends and reaps what our children left re-parented to us (the
        accessibility bus and registry, programs the program started)."""
        deadline = time.monotonic() + 3
        while orphans := [int(p) for p in os.listdir("/proc")
                          if p.isdigit() and (proc_stat(int(p)) or "")[2:3] == (os.getpid(),)]:
            for pid in orphans:
                if is_live(pid):
                    os.kill(pid, signal.SIGTERM if time.monotonic() < deadline else signal.SIGKILL)
                reap(pid)
            time.sleep(POLL)

    def _run(self, argv, check=True):
        done = subprocess.run(argv, env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=10)
        if check and done.returncode != 0:
            raise AssertionError(f"{' '.join(argv)} failed: {done.stderr.strip()}")
        return done.returncode, done.stdout

    def _report_failure(self):
        shot = os.path.join(os.path.dirname(self.corvane), "e2e-failures", self.name + ".png")
        os.makedirs(os.path.dirname(shot), exist_ok=True)
        self._run(["import", "-window", "root", shot], check=False)
        print(f"screenshot: {shot}\nstand-in calls: {self.calls()}")
        if self.program:
            with open(os.path.join(self.tmp, "corvane.out")) as f:
                print("program output:", f.read()[-2000:])

    # ---- stand-in client -------------------------------------------------

    def configure(self, identity, nickname, logged_in=False):
        """A configured, running client."""
        os.mkdir(self.config, 0o700)
        self.write(".hamachi/state", f"Identity   {identity}\nNickname   {nickname}\n")
        self.write(".hamachi/running", "4242\n")
        if logged_in:
            self.write(".hamachi/logged-in", "")

    def add_network(self, name, members):
        lines = [f"network\t{name}\tonline,owner\t"]
        lines += [f"member\t{addr}\t{nick}\t{state}" for addr, nick, state in members]
        self.write(".hamachi/networks", "\n".join(lines) + "\n")

    def write(self, relative, text, mode=0o644):
        path = os.path.join(self.home, relative)
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, mode)

    def exists(self, relative):
        return os.path.exists(os.path.join(self.home, relative))

    def add_program(self, name, script):
        self.write(os.path.join(self.bin, name), script, 0o755)

    def standin(self, *args):
        """Runs the stand-in client as if from another terminal."""
        return self._run([os.path.join(self.standin_bin, "hamachi"), *args], check=False)

    def start_tuncfg(self):
        self._run([os.path.join(self.standin_bin, "tuncfg")])
        wait_for("the tuncfg daemon",
                 lambda: any(is_live(p, "tuncfg") for p in self._tuncfg_pids()))

    def calls(self):
        """Each logged invocation as program and arguments joined by blanks."""
        try:
            with open(os.path.join(self.control, "log"), "rb") as f:
                log = f.read().decode("latin-1")
        except OSError:
            return []
        calls, pos = [], 0
        while pos < len(log):  # "PROGRAM\tN\n", then N times "LENGTH\tBYTES\n"
            tab, end = log.index("\t", pos), log.index("\n", pos)
            words, pos = [log[pos:tab]], end + 1
            for _ in range(int(log[tab + 1 : end])):
                tab = log.index("\t", pos)
                pos = tab + 1 + int(log[pos:tab])
                words.append(log[tab + 1 : pos])
                pos += 1
            calls.append(" ".join(words))
        return calls

    def wait_call(self, call, timeout=5.0):
        wait_for(f"'{call}' in the stand-in log", lambda: call in self.calls(), timeout)

    # ---- the program -----------------------------------------------------

    def launch(self, with_client=True):
        path = [self.bin] + [self.standin_bin] * with_client + ["/usr/bin", "/bin"]
        env = dict(self.env, PATH=":".join(path), GTK_MODULES="gail:atk-bridge")
        with open(os.path.join(self.tmp, "corvane.out"), "w") as out:
            self.program = subprocess.Popen(
                [self.corvane, "-c", self.config], env=env, stdin=subprocess.DEVNULL,
                stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        self.launched_at = time.monotonic()

    def wait_exit(self, timeout=5.0):
        wait_for("the program to end", lambda: self.program.poll() is not None, timeout)
        return self.program.returncode

    def assert_running(self):
        assert self.program.poll() is None, f"the program ended with {self.program.returncode}"

    def wait_idle(self):
        """Waits for the last start-up call and for the program to block in
        its event loop: clicks that come earlier are dropped by design."""
        self.wait_call("hamachi list")
        samples = []

        def polling():
            try:
                with open(f"/proc/{self.program.pid}/syscall") as f:
                    samples.append(f.read().split()[0] == "7")  # poll(2)
            except (OSError, IndexError):
                samples.append(False)
            return samples[-3:] == [True] * 3

        wait_for("the program to block in its event loop", polling)

    def cpu_ticks(self):
        return proc_stat(self.program.pid)[3]

    # ---- X -------------------------------------------------------------

    def xdo(self, *args):
        return self._run(["xdotool", *map(str, args)])[1]

    def _search(self, *args):
        code, out = self._run(["xdotool", "search", *map(str, args)], check=False)
        return [int(w) for w in out.split()] if code == 0 else []

    def visible_window(self, title):
        # The search ignores case, and the tray icon is named "corvane".
        for window in self._search("--onlyvisible", "--name", f"^{re.escape(title)}$"):
            # check=False: the window may close in between.
            if self._run(["xdotool", "getwindowname", str(window)], check=False)[1] == title + "\n":
                return window
        return None

    def wait_window(self, title, timeout=5.0):
        return wait_for(f"window '{title}'", lambda: self.visible_window(title), timeout)

    def geometry(self, window):
        """Client area as (x, y, width, height, viewable) in screen pixels."""
        out = self._run(["xwininfo", "-id", str(window)])[1]
        field = lambda label: int(re.search(rf"{label}:\s*(-?\d+)", out).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"), "IsViewable" in out)

    def click(self, window, x, y, button=1):
        self.xdo("mousemove", "--window", window, x, y, "click", button)

    def key(self, *keys):
        # Plain key events go to the window the window manager focused.
        self.xdo("key", *keys)

    def wm_state(self, window):
        """'Normal', 'Iconic', or None once withdrawn (hidden)."""
        out = self._run(["xprop", "-id", str(window), "WM_STATE"], check=False)[1]
        found = re.search(r"window state: (\w+)", out)
        return found and found.group(1)

    def wm_close(self, window):
        self._run(["wmctrl", "-i", "-c", hex(window)])

    def tray_icon(self):
        """The program's icon window inside the tray host, or None."""
        out = self._run(["xwininfo", "-tree", "-id", str(self.panel)])[1]
        name = re.escape(os.path.basename(self.corvane))
        found = re.search(rf"(0x[0-9a-f]+) .*\(\"{name}\" ", out)
        return int(found.group(1), 16) if found else None

    def tooltip(self):
        """A tooltip window of the program on screen, or None."""
        for window in self._search("--onlyvisible", "--pid", self.program.pid):
            kind = self._run(["xprop", "-id", str(window), "_NET_WM_WINDOW_TYPE"], check=False)
            if "_NET_WM_WINDOW_TYPE_TOOLTIP" in kind[1]:
                return window
        return None

    # ---- widgets through accessibility -------------------------------------

    def _app(self):
        if self._at is None:
            # The reader must join this session's bus, not the caller's.
            os.environ.update(DBUS_SESSION_BUS_ADDRESS=self.env["DBUS_SESSION_BUS_ADDRESS"],
                              DISPLAY=self.display)
            warnings.simplefilter("ignore")
            import pyatspi
            self._at = pyatspi
        for app in self._at.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.program.pid:
                return app
        return None

    def widgets(self, role, showing=True, window=None, active=False):
        """[(name, (x, y, w, h) in window pixels, sensitive)] of the program's
        widgets in that role, in tree order, optionally only inside top-level
        windows of a role or with the focus; [] while the tree is in flux."""
        found = []

        def walk(node, depth):
            state = node.getState()
            if showing and depth > 0 and not state.contains(self._at.STATE_SHOWING):
                return
            if depth == 1 and (window not in (None, node.getRoleName()) or
                               active and not state.contains(self._at.STATE_ACTIVE)):
                return
            if node.getRoleName() == role:
                box = node.queryComponent().getExtents(self._at.WINDOW_COORDS)
                found.append((node.name, (box.x, box.y, box.width, box.height),
                              state.contains(self._at.STATE_SENSITIVE)))
            for child in node:
                if child is not None:
                    walk(child, depth + 1)

        try:
            app = self._app()
            if app is not None:
                walk(app, 0)
        except Exception:  # a window closing under the walk
            return []
        return found

    def labels(self):
        return [w[0] for w in self.widgets("label", window="frame")]

    def extents(self, role):
        return [w[1] for w in self.widgets(role, window="frame")]

    def roster(self):
        return [w[0] for w in self.widgets("table cell", showing=False) if w[0]]

    def wait_box(self, title, timeout=5.0):
        """Waits for a message box by title to take the keyboard focus;
        returns (window, message)."""
        window = self.wait_window(title, timeout)
        wait_for(f"'{title}' to be focused", lambda: self._run(
            ["xdotool", "getactivewindow"], check=False)[1].strip() == str(window))
        return window, wait_for(f"the message of '{title}'", lambda: [
            name for name, *_ in self.widgets("label", window="alert", active=True) if name])[0]

    def press_box_button(self, window, label):
        """Clicks a message box button where it is drawn."""
        x, y, w, h = wait_for(f"button '{label}'", lambda: [
            w[1] for w in self.widgets("push button", window="alert") if w[0] == label])[0]
        self.click(window, x + w // 2, y + h // 2)
