"""End-to-end cases, each a fresh program in a fresh X session.
Usage: cases.py CORVANE STANDIN_BIN_DIR CASE"""

import sys
import time
import traceback

from rig import SCREEN, Rig, live_tuncfg_pids, wait_for

ASK_SUDO = ("Hamachi needs a TAP/TUN device driver to operate.\n\n"
            "Do you want to try load 'tuncfg' with 'sudo'?")
ASK_LEAVE_RUNNING = "Do you want to leave Hamachi logged in and running?"
ASK_STOP = "You are not logged in, do you want to stop Hamachi?"
ASK_RESTART = "Hamachi is no longer running.  Do you want to\nrestart Hamachi?   (No quits client)."
ROSTER = ["[lan]", "5.1.2.3 - bob", "5.1.2.4 - carol"]
LOGIN_BUTTON = (26, 246)


def ready(rig, logged_in=True):
    """A configured, running client with tuncfg up; returns the main window
    once the program waits for input."""
    rig.configure("090-123-456", "alice", logged_in=logged_in)
    rig.add_network("lan", [("5.1.2.3", "bob", "online"), ("5.1.2.4", "carol", "offline")])
    rig.start_tuncfg()
    rig.launch()
    window = rig.wait_window("Corvane")
    rig.shown_after = time.monotonic() - rig.launched_at
    rig.wait_idle()
    wait_for("the widgets through accessibility", lambda: rig.extents("push button"))
    return window


def choose_exit(rig):
    rig.click(wait_for("the tray icon", rig.tray_icon), 10, 10, button=3)
    wait_for("the tray menu", lambda: "Exit" in [w[0] for w in rig.widgets("menu item")])
    rig.key("Down", "Return")


def assert_exits_cleanly(rig, unwanted_box=None):
    """Exit status 0, with no box of that title on the way out."""
    deadline = time.monotonic() + 5
    while rig.program.poll() is None and time.monotonic() < deadline:
        assert not (unwanted_box and rig.visible_window(unwanted_box)), f"'{unwanted_box}' shown"
        time.sleep(0.05)
    assert rig.wait_exit(0.1) == 0, f"exit status {rig.program.returncode}"


def case_startup(rig):
    window = ready(rig)
    assert rig.shown_after < 1.5, f"shown after {rig.shown_after:.1f} s"
    x, y, w, h, viewable = rig.geometry(window)
    assert (w, h, viewable) == (250, 270, True), (w, h, viewable)
    # The frame shifts the client area by its border and title bar.
    assert abs(x + w / 2 - SCREEN[0] / 2) <= 5 and abs(y + h / 2 - SCREEN[1] / 2) <= 30, (x, y)

    assert rig.labels() == ["090-123-456", "alice"]
    assert rig.extents("label") == [(5, 30, 240, 20), (5, 50, 240, 20)]
    assert rig.extents("scroll pane") == [(5, 75, 240, 145)]
    assert rig.widgets("push button") == [
        ("", (5, 225, 43, 43), True), ("", (157, 225, 43, 43), True),
        ("", (202, 225, 43, 43), True)]
    assert rig.roster() == ROSTER
    assert "hamachi start" not in rig.calls(), rig.calls()

    icon = wait_for("the tray icon", rig.tray_icon)
    ix, iy, iw, ih, _ = rig.geometry(icon)
    # Tooltips need real pointer motion onto the icon.
    for dx, dy in ((-40, 40), (iw // 2, ih // 2), (iw // 2 + 1, ih // 2)):
        rig.xdo("mousemove", ix + dx, iy + dy)
    tx, ty, tw, _, _ = rig.geometry(wait_for("the tray tooltip", rig.tooltip))
    # Its text ("Corvane") is not exposed through accessibility; its place is.
    assert abs(tx + tw / 2 - (ix + iw / 2)) < 100 and ty < 60, (tx, ty, ix, iy)


def case_no_tuncfg_declined(rig):
    rig.configure("090-123-456", "alice")
    rig.add_program("xterm", f"#!/bin/sh\ntouch {rig.tmp}/xterm-ran\n")
    # The program looks machine-wide: a tuncfg left by others fails this case.
    try:
        wait_for("no tuncfg running anywhere", lambda: not live_tuncfg_pids())
    except AssertionError:
        raise AssertionError(f"a foreign tuncfg runs: pids {live_tuncfg_pids()}") from None
    rig.launch()
    window, text = rig.wait_box("Hamachi")
    assert text == ASK_SUDO, text
    assert [w[0] for w in rig.widgets("push button", window="alert")] == ["Yes", "No"]
    assert rig.visible_window("Corvane") is None
    rig.press_box_button(window, "No")
    assert rig.wait_exit() == 0
    assert not rig.exists("../xterm-ran"), "xterm ran after No"
    assert rig.calls() == [], rig.calls()


def case_client_missing(rig):
    rig.configure("090-123-456", "alice")
    rig.start_tuncfg()
    rig.launch(with_client=False)
    _, text = rig.wait_box("Hamachi Error")
    assert text.startswith("Hamachi is not loaded or not in the path..."), text
    assert [w[0] for w in rig.widgets("push button", window="alert")] == ["OK"]
    assert rig.visible_window("Corvane") is None
    rig.key("Return")
    assert rig.wait_exit() == 0


def case_close_hides_to_tray(rig):
    window = ready(rig)
    # Moved off the centre, where a fresh map would put it anyway.
    centred = rig.geometry(window)
    rig.xdo("windowmove", window, 100, 120)
    before = wait_for("the move", lambda: (g := rig.geometry(window)) != centred and g)
    rig.wm_close(window)
    # Hidden, not merely iconified (that would leave it Iconic).
    wait_for("the window to be withdrawn", lambda: rig.wm_state(window) is None)
    time.sleep(0.3)  # a quitting program would be gone by now
    rig.assert_running()
    rig.click(wait_for("the tray icon", rig.tray_icon), 10, 10)
    wait_for("the window to come back", lambda: rig.wm_state(window) == "Normal")
    assert rig.geometry(window) == before, (rig.geometry(window), before)


def case_resize(rig):
    window = ready(rig)
    rig.xdo("windowsize", window, 300, 240)
    wait_for("the snap to 200x250", lambda: rig.geometry(window)[2:4] == (200, 250))

    rig.xdo("windowsize", window, 320, 300)
    wait_for("the buttons to move", lambda: rig.extents("push button") == [
        (5, 255, 43, 43), (228, 255, 43, 43), (273, 255, 43, 43)])
    assert rig.geometry(window)[2:4] == (320, 300)
    assert rig.extents("label") == [(5, 30, 310, 20), (5, 50, 310, 20)]
    assert rig.extents("scroll pane") == [(5, 75, 310, 175)]
    # The moved login button answers where it is now drawn.
    rig.click(window, LOGIN_BUTTON[0], LOGIN_BUTTON[1] + 30)
    rig.wait_call("hamachi logout")


def case_login_toggle(rig):
    window = ready(rig, logged_in=False)
    assert rig.roster() == []
    rig.click(window, *LOGIN_BUTTON)
    rig.wait_call("hamachi login")
    assert rig.exists(".hamachi/logged-in")
    # Well before the watchdog's next pass could fill it instead.
    wait_for("the roster", lambda: rig.roster() == ROSTER, 2)
    assert rig.labels() == ["090-123-456", "alice"]

    rig.click(window, *LOGIN_BUTTON)
    rig.wait_call("hamachi logout")
    wait_for("the roster to clear", lambda: rig.roster() == [], 2)
    assert not rig.exists(".hamachi/logged-in")
    rig.assert_running()


def case_exit_logged_in_yes(rig):
    ready(rig)
    choose_exit(rig)
    _, text = rig.wait_box("Hamachi")
    assert text == ASK_LEAVE_RUNNING, text
    rig.key("Return")
    assert_exits_cleanly(rig)
    assert "hamachi stop" not in rig.calls(), rig.calls()
    assert rig.exists(".hamachi/logged-in")


def case_exit_logged_in_no(rig):
    ready(rig)
    watchdog_due = time.monotonic() + 5.3
    choose_exit(rig)
    window, text = rig.wait_box("Hamachi")
    assert text == ASK_LEAVE_RUNNING, text
    # Answered once the watchdog is due, so it probes the stopped client
    # right after the answer, before the program ends.
    time.sleep(max(0, watchdog_due - time.monotonic()))
    rig.press_box_button(window, "No")
    assert_exits_cleanly(rig, unwanted_box="Hamachi Error")
    assert "hamachi stop" in rig.calls(), rig.calls()


def case_exit_logged_out_yes(rig):
    ready(rig, logged_in=False)
    choose_exit(rig)
    _, text = rig.wait_box("Hamachi")
    assert text == ASK_STOP, text
    rig.key("Return")
    assert_exits_cleanly(rig)
    assert "hamachi stop" in rig.calls(), rig.calls()
    assert not rig.exists(".hamachi/running")


def case_exit_logged_out_no(rig):
    ready(rig, logged_in=False)
    choose_exit(rig)
    window, text = rig.wait_box("Hamachi")
    assert text == ASK_STOP, text
    rig.press_box_button(window, "No")
    assert_exits_cleanly(rig)
    assert "hamachi stop" not in rig.calls(), rig.calls()


def case_exit_logged_out_box_closed(rig):
    ready(rig, logged_in=False)
    choose_exit(rig)
    rig.wait_box("Hamachi")
    rig.key("Escape")
    assert_exits_cleanly(rig)
    assert "hamachi stop" not in rig.calls(), rig.calls()


def stopped_from_outside(rig):
    """Stops the client behind the program's back and returns the restart
    question's window; meanwhile the program must idle and probe just once."""
    ready(rig)
    ticks, probes = rig.cpu_ticks(), rig.calls().count("hamachi")
    assert rig.standin("stop")[0] == 0
    stopped = time.monotonic()
    window, text = rig.wait_box("Hamachi Error", timeout=7)
    assert time.monotonic() - stopped < 6.5
    assert text == ASK_RESTART, text
    assert rig.calls().count("hamachi") == probes + 1, rig.calls()
    # Idle costs next to nothing; a busy loop would burn about 500 ticks.
    assert rig.cpu_ticks() - ticks < 50, rig.cpu_ticks() - ticks
    return window


def case_watchdog_restart_no(rig):
    rig.press_box_button(stopped_from_outside(rig), "No")
    assert rig.wait_exit() == 0
    assert "hamachi start" not in rig.calls(), rig.calls()


def case_watchdog_restart_yes(rig):
    stopped_from_outside(rig)
    rig.key("Return")
    rig.wait_call("hamachi start")
    wait_for("the box to close", lambda: rig.visible_window("Hamachi Error") is None)
    assert rig.exists(".hamachi/running")
    rig.assert_running()
    assert rig.visible_window("Corvane")


def main(argv):
    case = globals().get("case_" + argv[-1]) if len(argv) == 4 else None
    if case is None:
        print(__doc__, file=sys.stderr)
        return 2
    started = time.monotonic()
    try:
        with Rig(argv[3], argv[1], argv[2]) as rig:
            case(rig)
    except Exception:
        traceback.print_exc()
        print(f"FAIL {argv[3]} ({time.monotonic() - started:.1f} s)")
        return 1
    print(f"PASS {argv[3]} ({time.monotonic() - started:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
