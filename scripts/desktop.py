#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""A private headless desktop: an X server, a window manager and, unless told
otherwise, a tray host, every one a child of this process.

    scripts/desktop.py [--no-tray] [--size WxH] [--openbox-config FILE] -- COMMAND...

runs COMMAND inside one, with DISPLAY, XDG_RUNTIME_DIR and XDG_CACHE_HOME set,
then ends the desktop and exits with COMMAND's status; when the desktop does
not come up it says in one line what did not, and exits 1.  The end-to-end
tests and the measurements use the Desktop class of this file.
"""

import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Generous: two loaded cores take far longer than the usual second.
LIMIT = 20.0


def run_with(module, package):
    """Runs this script again with the first python3 on PATH that can import
    `module` (Debian's `package`), unless this one can."""
    try:
        __import__(module)
        return
    except ImportError:
        pass
    for folder in os.environ.get("PATH", "").split(os.pathsep):
        python = os.path.join(folder or ".", "python3")
        if os.access(python, os.X_OK) and subprocess.run(
                [python, "-c", "import " + module], capture_output=True).returncode == 0:
            os.execv(python, [python, *sys.argv])
    sys.exit(f"corvane: no python3 on PATH can import {module} (Debian: {package})")


class DesktopError(Exception):
    """A part of the desktop did not come up; the message says which."""


def wait_for(what, probe, limit=LIMIT, step=0.05, process=None):
    """Polls probe() until it returns something true, and returns that.
    Fails early when the process that should bring it ends."""
    deadline = time.monotonic() + limit
    while not (value := probe()):
        if process is not None and process.poll() is not None:
            raise DesktopError(f"{what} did not come up: it ended with status "
                               f"{process.returncode}")
        if time.monotonic() > deadline:
            raise DesktopError(f"{what} did not come up within {limit:g} s")
        time.sleep(step)
    return value


class Desktop:
    """Started on creation; close() (or leaving a with block) ends it."""

    def __init__(self, size=(1280, 800), tray=True, openbox_config=None, env=None,
                 log=None, limit=LIMIT, server_args=()):
        self.children, self.display, self.panel = [], None, None
        self.limit, self.log = limit, log
        # Sockets and caches of the session's programs go here, not home.
        self.tmp = tempfile.mkdtemp(prefix="corvane-desktop-")
        self.env = dict(os.environ if env is None else env,
                        XDG_RUNTIME_DIR=self.tmp, XDG_CACHE_HOME=self.tmp + "/cache")
        try:
            self._start(size, tray, openbox_config, server_args)
        except BaseException:
            self.close()
            raise

    def _start(self, size, tray, openbox_config, server_args):
        # -noreset: a server resetting after its only client (a wmctrl probe)
        # left refuses the window manager for a moment.
        read_fd, write_fd = os.pipe()
        xvfb = self._spawn(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                            "%dx%dx24" % tuple(size), "-nolisten", "tcp", "-noreset",
                            *server_args],
                           pass_fds=(write_fd,))
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + self.limit
        with os.fdopen(read_fd, "rb", buffering=0) as pipe:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([pipe], [], [], left)[0]:
                    raise DesktopError(f"the X server did not come up within {self.limit:g} s")
                chunk = pipe.read(16)
                if not chunk:
                    raise DesktopError("the X server did not come up: it ended with status "
                                       f"{xvfb.wait()}")
                number += chunk
        self.display = ":" + number.decode().strip()
        self.env["DISPLAY"] = self.display

        argv = ["openbox", "--sm-disable"]
        if openbox_config:
            argv += ["--config-file", openbox_config]
        openbox = self._spawn(argv)
        # The window manager answers (wmctrl -m) as soon as it owns the screen,
        # but manages windows only once it publishes its client list (wmctrl
        # -l): openbox loads its theme and fonts in between, seconds with a
        # cold font cache or a busy machine, and a window mapped then stays
        # unmapped for good.
        wait_for("the window manager", lambda: self._probe(["wmctrl", "-l"]) is not None,
                 self.limit, process=openbox)
        if tray:
            trayer = self._spawn(["trayer", "--edge", "top", "--align", "right",
                                  "--widthtype", "request", "--height", "24",
                                  "--SetDockType", "true", "--transparent", "false"])
            # Mapped, that is managed by the window manager.
            self.panel = int(wait_for("the tray host", lambda: (self._probe(
                ["xdotool", "search", "--onlyvisible", "--classname", "panel"]) or "").split(),
                self.limit, process=trayer)[0])

    def _spawn(self, argv, **kwargs):
        # A session of their own: a Ctrl-C at the terminal reaches only the
        # caller, which then ends them in order.
        out = open(self.log, "a") if self.log else subprocess.DEVNULL
        try:
            proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                    env=self.env, start_new_session=True, **kwargs)
        finally:
            if self.log:
                out.close()
        self.children.append(proc)
        return proc

    def _probe(self, argv):
        """The output of a command that succeeded, or None."""
        try:
            done = subprocess.run(argv, env=self.env, stdin=subprocess.DEVNULL,
                                  capture_output=True, text=True, timeout=5)
        except subprocess.TimeoutExpired:
            return None
        return done.stdout if done.returncode == 0 else None

    def pids(self):
        return {proc.pid for proc in self.children}

    def close(self):
        """Ends the children by their pids, newest first, waiting for each."""
        while self.children:
            proc = self.children.pop()
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def _interrupt(signum, frame):
    raise KeyboardInterrupt


def main(argv):
    parser = argparse.ArgumentParser(
        prog="desktop.py", description="Runs COMMAND in a private headless desktop.")
    parser.add_argument("--no-tray", action="store_true", help="no tray host")
    parser.add_argument("--size", default="1280x800", help="screen size, WxH")
    parser.add_argument("--openbox-config", help="the window manager's rc.xml")
    parser.add_argument("command", nargs="+", metavar="COMMAND")
    args = parser.parse_args(argv)
    try:
        size = tuple(int(n) for n in args.size.split("x"))
        assert len(size) == 2
    except (ValueError, AssertionError):
        parser.error(f"--size: {args.size!r} is not WxH")

    # Killed while starting, still end what had started.
    signal.signal(signal.SIGTERM, _interrupt)
    signal.signal(signal.SIGHUP, _interrupt)
    try:
        with Desktop(size, not args.no_tray, args.openbox_config) as desktop:
            try:
                command = subprocess.Popen(args.command, env=desktop.env)
            except OSError as e:
                print(f"corvane: cannot run {args.command[0]}: {e.strerror}", file=sys.stderr)
                return 127
            # The command shares the terminal's Ctrl-C; ending this process
            # ends it first.
            signal.signal(signal.SIGINT, lambda *_: None)
            for signum in signal.SIGTERM, signal.SIGHUP:
                signal.signal(signum, lambda signum, _: command.send_signal(signum))
            status = command.wait()
            return 128 - status if status < 0 else status
    except DesktopError as e:
        print(f"corvane: {e}", file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        return 130


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
