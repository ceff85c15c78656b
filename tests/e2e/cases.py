"""End-to-end cases, each a fresh program in a fresh X session.
Usage: cases.py CORVANE STANDIN_BIN_DIR CASE"""

import os
import sys
import time

from rig import SCREEN, Rig, processes, wait_for

ROSTER = ["[lan]", "5.1.2.3 - bob", "5.1.2.4 - carol"]


def start(rig, logged_in=False, tuncfg=True, client=True):
    """The program against a configured client: alice, with bob and carol."""
    os.mkdir(rig.config, 0o700)
    rig.write(".hamachi/state", "Identity   090-123-456\nNickname   alice\n")
    rig.write(".hamachi/running", "4242\n")
    rig.write(".hamachi/networks", "network\tlan\tonline,owner\n"
              "member\t5.1.2.3\tbob\tonline\nmember\t5.1.2.4\tcarol\toffline\n")
    if logged_in:
        rig.write(".hamachi/logged-in", "")
    if tuncfg:
        rig.run([rig.standin_bin + "/tuncfg"])  # its daemon is up on return
    rig.launch(client)


def ready(rig, logged_in=True):
    """Returns the main window once the program waits for input."""
    start(rig, logged_in)
    window = wait_for("the main window", lambda: rig.visible_window("Corvane"))
    rig.wait_idle()
    wait_for("the widgets through accessibility", lambda: rig.widgets("push button"))
    return window


def choose_exit(rig, question):
    """Picks "Exit" from the tray menu; returns the question's window."""
    rig.click(wait_for("the tray icon", rig.tray_icon), 10, 10, button=3)
    wait_for("the tray menu", lambda: "Exit" in [name for name, _ in rig.widgets("menu item")])
    rig.xdo("key", "Down", "Return")
    window, text = rig.wait_box("Hamachi")
    assert text == question, text
    return window


def case_main_window(rig):
    window = ready(rig)
    x, y, w, h = rig.geometry(window)
    # Centred: the frame shifts the client area by its border and title bar.
    assert (w, h) == (250, 270) and abs(x + w / 2 - SCREEN[0] / 2) <= 5 \
        and abs(y + h / 2 - SCREEN[1] / 2) <= 30, (x, y, w, h)
    labels = [name for name, _ in rig.widgets("label", "frame")]
    assert labels == ["090-123-456", "alice"], labels
    assert rig.roster() == ROSTER, rig.roster()
    icon = wait_for("the tray icon", rig.tray_icon)

    rig.xdo("windowsize", window, 300, 240)
    wait_for("the snap to 200x250", lambda: rig.geometry(window)[2:] == (200, 250))

    # Away from the centre, where a fresh map would put it anyway.
    rig.xdo("windowmove", window, 100, 120)
    moved = wait_for("the move", lambda: (g := rig.geometry(window))[:2] != (x, y) and g)
    rig.wm_close(window)
    # Withdrawn, not merely iconified (that would leave it Iconic); coming
    # back also shows the process stayed.
    wait_for("the window to be withdrawn", lambda: rig.wm_state(window) is None)
    rig.click(icon, 10, 10)
    wait_for("the window to come back", lambda: rig.wm_state(window) == "Normal")
    assert rig.geometry(window) == moved, (rig.geometry(window), moved)

    rig.run([rig.standin_bin + "/hamachi", "stop"])  # as if from another terminal
    box, text = rig.wait_box("Hamachi Error", timeout=6.5)
    assert text == ("Hamachi is no longer running.  Do you want to\n"
                    "restart Hamachi?   (No quits client)."), text
    rig.press(box, "No")
    assert rig.wait_exit() == 0
    assert "hamachi start" not in rig.calls(), rig.calls()


def case_login_toggle(rig):
    window = ready(rig, logged_in=False)
    assert rig.roster() == []
    rig.press(window, "", "frame")  # the login button: first, and nameless
    rig.wait_call("hamachi login")
    # Well before the watchdog's next pass could fill it instead.
    wait_for("the roster", lambda: rig.roster() == ROSTER, 2)
    rig.press(window, "", "frame")
    rig.wait_call("hamachi logout")
    wait_for("the roster to clear", lambda: rig.roster() == [], 2)

    # Closing the question leaves the client running.
    rig.wm_close(choose_exit(rig, "You are not logged in, do you want to stop Hamachi?"))
    assert rig.wait_exit() == 0
    assert "hamachi stop" not in rig.calls(), rig.calls()


def case_hung_login(rig):
    """A login stuck on its server: the program ends it after 30 s, with all
    it started, and the window draws and answers again at once."""
    window = ready(rig, logged_in=False)
    os.makedirs(rig.home + "/.hamachi-standin/hang")
    rig.write(".hamachi-standin/hang/login", "")

    def shot():
        rig.run(["import", "-window", str(window), "-depth", "8", rig.tmp + "/shot.rgb"])
        with open(rig.tmp + "/shot.rgb", "rb") as f:
            return f.read()

    rig.press(window, "", "frame")
    rig.wait_call("hamachi login")
    begun = time.monotonic()
    time.sleep(1)
    frozen = shot()  # "Logging into Hamachi ...", as drawn before the command
    time.sleep(max(0, begun + 29.5 - time.monotonic()))
    # Once the login is given up, the watchdog is long due: its probe shows
    # the loop running again.
    wait_for("the loop to run again", lambda: "hamachi" in (c := rig.calls())[
        c.index("hamachi login"):], 3)
    assert time.monotonic() - begun < 31.5, time.monotonic() - begun
    wait_for("the window to be redrawn", lambda: shot() != frozen, 1)
    # Accessibility reads are answered from the loop too.
    assert [name for name, _ in rig.widgets("label")][-1] == "offline"
    assert "hamachi" not in [name for name, _ in processes().values()], processes()

    os.remove(rig.home + "/.hamachi-standin/hang/login")
    rig.press(window, "", "frame")
    wait_for("the roster", lambda: rig.roster() == ROSTER, 2)


def case_exit_stops_client(rig):
    ready(rig)
    probes, due = rig.calls().count("hamachi"), time.monotonic() + 5.3
    box = choose_exit(rig, "Do you want to leave Hamachi logged in and running?")
    # The box holds the loop; answered once the watchdog is due, it runs
    # right after the answer and must not offer to restart the client.
    if rig.calls().count("hamachi") != probes:  # a pass came before the box
        due = time.monotonic() + 5.3
    time.sleep(max(0, due - time.monotonic()))
    rig.press(box, "No")
    assert rig.wait_exit() == 0
    calls = rig.calls()
    assert "hamachi" in calls[calls.index("hamachi stop"):], calls


def case_no_tuncfg_declined(rig):
    rig.write(rig.bin + "/xterm", f"#!/bin/sh\ntouch {rig.tmp}/xterm-ran\n", 0o755)
    # The program looks machine-wide: a tuncfg left by others fails this case.
    wait_for("no tuncfg anywhere", lambda: "tuncfg" not in [n for n, _ in processes().values()])
    start(rig, tuncfg=False)
    box, text = rig.wait_box("Hamachi")
    assert text == ("Hamachi needs a TAP/TUN device driver to operate.\n\n"
                    "Do you want to try load 'tuncfg' with 'sudo'?"), text
    rig.press(box, "No")
    assert rig.wait_exit() == 0
    assert not os.path.exists(rig.tmp + "/xterm-ran"), "xterm ran after No"
    assert rig.calls() == [], rig.calls()


def case_client_missing(rig):
    start(rig, client=False)
    box, text = rig.wait_box("Hamachi Error")
    assert text.startswith("Hamachi is not loaded or not in the path..."), text
    rig.press(box, "OK")
    assert rig.wait_exit() == 0


if __name__ == "__main__":
    corvane, standin_bin, case = sys.argv[1:]
    rig = Rig(case, os.path.abspath(corvane), os.path.abspath(standin_bin))
    try:
        rig.start()
        globals()["case_" + case](rig)
    except BaseException:
        rig.report_failure()
        raise
    finally:
        rig.close()
