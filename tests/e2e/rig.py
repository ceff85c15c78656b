# SPDX-License-Identifier: GPL-2.0-or-later
"""The real corvane binary in a private headless X session (window manager,
tray host, session bus) against the stand-in client, driven as a person would."""

import ctypes
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import warnings

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "../../scripts"))
from desktop import Desktop, run_with  # noqa: E402

run_with("pyatspi", "python3-pyatspi")  # an earlier python3 may be a build that cannot see it
warnings.simplefilter("ignore")
import pyatspi  # noqa: E402  (quiet only after the filter)
from gi.repository import Gio, GLib  # noqa: E402

SCREEN = (1280, 800)
# A GLib log line of a critical or a warning, whatever the domain: "(corvane:PID):
# Gtk-CRITICAL **: ...", or "** (corvane:PID): WARNING **: ..." for the program's own.
LOGGED_FAULT = re.compile(r"^(?:\*\* )?(?:\([^)]*\): )?(?:([\w-]+)-)?(CRITICAL|WARNING) \*\*", re.M)
NOISE_DOMAINS = {"dbind"}  # the accessibility bridge's warnings about a reader gone away
SERVICE_NAMES = {"watcher": "org.kde.StatusNotifierWatcher",
                 "notifications": "org.freedesktop.Notifications"}


def wait_for(what, probe, timeout=5.0):
    """Polls probe() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(0.05)
    return value


def until(what, act, probe, tries=4):
    """Acts until probe() holds: a click while a command runs is dropped by design."""
    for _ in range(tries - 1):
        act()
        try:
            return wait_for(what, probe, 1.5)
        except AssertionError:
            pass
    act()
    return wait_for(what, probe)


def processes():
    """{pid: (name, parent pid)} of every live process; zombies left out."""
    found = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/stat") as f:
                text = f.read()
        except OSError:
            continue
        # The name may hold blanks and parentheses: it ends at the last ')'.
        state, ppid = text[text.rindex(")") + 2 :].split()[:2]
        if state not in "ZX":
            found[int(pid)] = (text[text.index("(") + 1 : text.rindex(")")], int(ppid))
    return found


class ServiceLog:
    """A stand-in service on the session bus and the calls it got, as dicts."""

    def __init__(self, path, process):
        self.path, self.process = path, process

    def stop(self):
        self.process.terminate()
        self.process.wait(5)

    def calls(self, name=None):
        try:
            with open(self.path) as f:
                return [c for c in map(json.loads, f) if name in (None, c["call"])]
        except OSError:
            return []


class Rig:
    def __init__(self, name, corvane, standin_bin):
        self.name, self.corvane, self.standin_bin = name, corvane, standin_bin
        self.program = self.display = self.env = self.desktop = self.bus = self.watcher = None
        self.programs = []
        self.tmp = tempfile.mkdtemp(prefix="corvane-e2e-")
        self.home, self.bin = self.tmp + "/home", self.tmp + "/bin"
        self.config = self.home + "/.hamachi"

    def start(self, server_args=()):
        # Detaching daemons (tuncfg, the accessibility bus) come here, so teardown ends them.
        ctypes.CDLL(None).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
        for d in (self.home, self.bin):
            os.mkdir(d, 0o700)
        # GTK's file chooser records recent files there, and warns when it is missing.
        os.makedirs(self.home + "/.local/share")
        # New windows go top left: only the program's own centring puts it in the middle.
        with open("/etc/xdg/openbox/rc.xml") as f:
            self.write(self.tmp + "/openbox.xml", f.read().replace("<center>yes", "<center>no"))
        self.desktop = Desktop(SCREEN, openbox_config=self.tmp + "/openbox.xml",
                               log=self.tmp + "/session.log", server_args=server_args, env={
                                   "PATH": "/usr/bin:/bin", "HOME": self.home, "USER": "tester",
                                   "LOGNAME": "tester", "LANG": "C.UTF-8"})
        self.display, self.panel, self.env = (self.desktop.display, self.desktop.panel,
                                              self.desktop.env)
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE)
        address = self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        assert address, "dbus-daemon did not report its address"
        # The accessibility reader in this process must join this session.
        os.environ.update(DBUS_SESSION_BUS_ADDRESS=address, DISPLAY=self.display)

    def start_service(self, kind):
        """Starts a stand-in of bus_services.py and waits until it owns its name."""
        path = f"{self.tmp}/{kind}.log"
        service = self._spawn([sys.executable, "-B", HERE + "/bus_services.py", kind, path])
        self.bus = self.bus or Gio.bus_get_sync(Gio.BusType.SESSION)

        def owned():
            assert service.poll() is None, f"the stand-in {kind} ended (see session.log)"
            return self.call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus", "NameHasOwner", "(s)",
                             (SERVICE_NAMES[kind],))[0]
        wait_for(f"the stand-in {kind} to own its name", owned)
        log = ServiceLog(path, service)
        if kind == "watcher":
            self.watcher = log
        return log

    def call(self, name, path, interface, method, signature=None, args=None):
        """A method call on the session bus; its answer unpacked."""
        answer = self.bus.call_sync(name, path, interface, method,
                                    GLib.Variant(signature, args) if signature else None,
                                    None, Gio.DBusCallFlags.NONE, 5000, None)
        return answer.unpack() if answer else ()

    def _spawn(self, argv, log="session.log", env=None, **kw):
        with open(f"{self.tmp}/{log}", "a") as out:
            return subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=kw.pop("stdout", out),
                                    stderr=out, env=env or self.env, start_new_session=True, **kw)

    def close(self):
        """Ends our children and what was re-parented to us, the desktop last."""
        if self.desktop:
            self._end_children(keep=self.desktop.pids())
            self.desktop.close()
        self._end_children()
        shutil.rmtree(self.tmp, ignore_errors=True)

    @staticmethod
    def _end_children(keep=()):
        deadline = time.monotonic() + 3
        while mine := [p for p, (_, ppid) in processes().items()
                       if ppid == os.getpid() and p not in keep]:
            for pid in mine:  # not reaped yet, so the pid is still theirs
                os.kill(pid, signal.SIGTERM if time.monotonic() < deadline else signal.SIGKILL)
            time.sleep(0.05)
            try:
                while os.waitpid(-1, os.WNOHANG)[0]:
                    pass
            except ChildProcessError:
                pass

    def run(self, argv, check=True):
        done = subprocess.run(argv, env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=10)
        if check and done.returncode != 0:
            raise AssertionError(f"{' '.join(argv)} failed: {done.stderr.strip()}")
        return done.returncode, done.stdout

    def report_failure(self):
        if self.display:
            shot = os.path.join(os.path.dirname(self.corvane), "e2e-failures", self.name + ".png")
            os.makedirs(os.path.dirname(shot), exist_ok=True)
            self.run(["import", "-window", "root", shot], False)
            print("screenshot:", shot)
        print("stand-in calls:", self.calls())
        print("program status:", self.program and self.program.poll())
        for log in ("session.log", "corvane.out"):
            if os.path.exists(f"{self.tmp}/{log}"):
                with open(f"{self.tmp}/{log}") as f:
                    print(f"---- {log}:\n{f.read()[-2000:]}")

    def write(self, path, text, mode=0o644):
        """Writes a file; a relative path is taken from the home folder."""
        path = os.path.join(self.home, path)
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, mode)

    def hang(self, command, hung=True):
        """While hung, the stand-in's command waits."""
        os.makedirs(self.home + "/.hamachi-standin/hang", exist_ok=True)
        if hung:
            self.write(".hamachi-standin/hang/" + command, "")
        else:
            os.remove(self.home + "/.hamachi-standin/hang/" + command)

    def calls(self):
        """Each logged invocation as program and arguments joined by blanks."""
        try:
            with open(self.home + "/.hamachi-standin/log", encoding="latin-1", newline="") as f:
                lines = iter(f.read().split("\n"))
        except OSError:
            return []
        # "PROGRAM\tN", then N times "LENGTH\tBYTES"; no argument holds a "\n".
        return [" ".join([program, *(next(lines).split("\t", 1)[1] for _ in range(int(count)))])
                for program, count in (head.split("\t") for head in lines if head)]

    def wait_call(self, call):
        wait_for(f"'{call}' in the stand-in log", lambda: call in self.calls())

    def launch(self, with_client=True):
        path = [self.bin] + [self.standin_bin] * with_client + ["/usr/bin", "/bin"]
        env = dict(self.env, PATH=":".join(path), GTK_MODULES="gail:atk-bridge")
        self.program = self._spawn([self.corvane, "-c", self.config], "corvane.out", env)
        self.programs.append(self.program)

    def check_alive(self):
        for program in self.programs:
            status = program.poll()
            assert status is None or status >= 0, \
                f"the program died of {signal.Signals(-status).name}"

    def check_program(self):
        """For every case: the program logged no critical or warning, died of no signal."""
        self.check_alive()
        try:
            with open(self.tmp + "/corvane.out", errors="replace") as f:
                text = f.read()
        except FileNotFoundError:
            return
        faults = [m.group(0) for m in LOGGED_FAULT.finditer(text)
                  if m.group(1) not in NOISE_DOMAINS]
        assert not faults, f"the program logged {len(faults)} fault(s), first: " + \
            text[text.index(faults[0]):].split("\n", 1)[0]

    def wait_exit(self):
        # A question left open blocks the program, so this also fails then.
        wait_for("the program to end", lambda: self.program.poll() is not None)
        return self.program.returncode

    def wait_idle(self):
        """Waits until the program blocks in its loop: earlier clicks are dropped by design."""
        self.wait_call("hamachi list")

        def in_poll():
            with open(f"/proc/{self.program.pid}/syscall") as f:
                return f.read().startswith("7 ")  # poll(2)

        samples = []  # three in a row
        wait_for("the program to block in its event loop",
                 lambda: samples.append(in_poll()) or samples[-3:] == [True] * 3)

    def xdo(self, *args):
        return self.run(["xdotool", *map(str, args)])[1]

    def windows(self, title):
        """Visible windows of exactly that title (the search ignores case; the tray icon is
        named "corvane"); unchecked, as one may close."""
        found = self.run(["xdotool", "search", "--onlyvisible", "--name",
                          f"^{re.escape(title)}$"], False)[1].split()
        return [int(w) for w in found
                if self.run(["xdotool", "getwindowname", w], False)[1] == title + "\n"]

    def visible_window(self, title):
        return next(iter(self.windows(title)), None)

    def geometry(self, window):
        """Client area as (x, y, width, height) in screen pixels."""
        out = self.run(["xwininfo", "-id", str(window)])[1]
        return tuple(int(re.search(rf"{label}:\s*(-?\d+)", out).group(1)) for label in
                     ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def click(self, window, x, y, button=1):
        self.xdo("mousemove", "--window", window, x, y, "click", button)

    def wm_state(self, window):
        """'Normal', 'Iconic', or None once withdrawn (hidden)."""
        found = re.search(r"window state: (\w+)",
                          self.run(["xprop", "-id", str(window), "WM_STATE"], False)[1])
        return found and found.group(1)

    def wm_close(self, window):
        self.run(["wmctrl", "-i", "-c", hex(window)])

    def tray_icon(self):
        out = self.run(["xwininfo", "-tree", "-id", str(self.panel)])[1]
        name = re.escape(os.path.basename(self.corvane))
        found = re.search(rf"(0x[0-9a-f]+) .*\(\"{name}\" ", out)
        return int(found.group(1), 16) if found else None

    def widgets(self, role, window=None, showing=True, name=lambda node: node.name):
        """[(name, (x, y, w, h) in window pixels)] of the program's widgets in
        that role, in tree order, inside top-level windows of a role if given."""
        def wanted(node):
            return node.getRoleName() == role and (
                not showing or node.getState().contains(pyatspi.STATE_SHOWING))

        try:
            return [(name(node), (box.x, box.y, box.width, box.height))
                    for app in pyatspi.Registry.getDesktop(0)
                    if app and app.get_process_id() == self.program.pid
                    for top in app if top and window in (None, top.getRoleName())
                    for node in pyatspi.findAllDescendants(top, wanted)
                    for box in [node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)]]
        except Exception:  # a window closing under the walk
            return []

    def names(self, role, window=None, showing=True):
        return [name for name, _ in self.widgets(role, window, showing)]

    def roster(self):
        return [name for name in self.names("table cell", showing=False) if name]

    def tree_table(self):
        """The roster's tree table, found without walking its rows."""
        self.check_alive()

        def find(node):
            if node.getRoleName() == "tree table":
                return node
            return next((found for child in node if child and (found := find(child))), None)

        return next((found for app in pyatspi.Registry.getDesktop(0)
                     if app and app.get_process_id() == self.program.pid
                     for top in app if top and (found := find(top))), None)

    def read_rows(self, known=0):
        """The roster as a screen reader reads it through the table: each
        row's text and whether it is selected.  Its news of a change comes
        late, so it also asks about the `known` rows it read before."""
        self.check_alive()
        try:
            table = self.tree_table().queryTable()
            texts = []
            for row in range(max(table.nRows, known)):
                table.isRowSelected(row)
                texts += [part.name for part in table.getAccessibleAt(row, 0) or () if part.name]
            return texts
        except Exception:  # the table replaced under the walk
            self.check_alive()
            return None

    def wait_box(self, title, timeout=5.0):
        """Waits for a message box to take the focus; returns (window, message)."""
        window = wait_for(f"window '{title}'", lambda: self.visible_window(title), timeout)
        wait_for(f"'{title}' to be focused", lambda: self.run(
            ["xdotool", "getactivewindow"], False)[1].strip() == str(window))
        return window, wait_for(f"the message of '{title}'",
                                lambda: [name for name in self.names("label", "alert") if name])[0]

    def click_widget(self, window, role, name, kind=None, button=1):
        """Clicks the middle of the first widget of that role and name."""
        x, y, w, h = wait_for(f"{role} '{name}'", lambda: [
            box for found, box in self.widgets(role, kind) if found == name])[0]
        self.click(window, x + w // 2, y + h // 2, button)

    def press(self, window, name, kind="alert"):
        """Clicks a push button, of a message box unless told the window's role."""
        self.click_widget(window, "push button", name, kind)
