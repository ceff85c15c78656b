# SPDX-License-Identifier: GPL-2.0-or-later
"""End-to-end cases, each a fresh program in a fresh X session.
Usage: cases.py CORVANE STANDIN_BIN_DIR CASE"""

import os
import re
import subprocess
import sys
import time

from rig import SCREEN, GLib, Rig, processes, until, wait_for

ROSTER = ["[lan]", "5.1.2.3 - bob", "5.1.2.4 - carol"]
BUTTONS = ["Networks", "Status and configuration"]  # after the login button
# Where the main window is built: the gadgets as (role, name, box in window pixels).
DEFAULT_LAYOUT = [("label", "090-123-456", (5, 30, 240, 20)), ("label", "alice", (5, 50, 240, 20)),
                  ("scroll pane", "", (5, 75, 240, 145)), ("push button", "Log out", (5, 225, 43, 43)),
                  ("push button", "Networks", (157, 225, 43, 43)),
                  ("push button", "Status and configuration", (202, 225, 43, 43))]
LAN = "network\tlan\tonline,owner\nmember\t5.1.2.3\tbob\tonline\nmember\t5.1.2.4\tcarol\toffline\n"


def start(rig, logged_in=False, networks=LAN):
    """The program against a configured client: alice, with bob and carol."""
    os.mkdir(rig.config, 0o700)
    rig.write(".hamachi/state", "Identity   090-123-456\nNickname   alice\n")
    rig.write(".hamachi/running", "4242\n")
    rig.write(".hamachi/networks", networks)
    if logged_in:
        rig.write(".hamachi/logged-in", "")
    rig.run([rig.standin_bin + "/tuncfg"])  # its daemon is up on return
    rig.launch()


def ready(rig, logged_in=True):
    """Returns the main window once the program waits for input."""
    start(rig, logged_in)
    window = wait_for("the main window", lambda: rig.visible_window("Corvane"))
    rig.wait_idle()
    wait_for("the widgets through accessibility", lambda: rig.widgets("push button"))
    if not rig.watcher:  # with one, the icon is the status notifier item
        wait_for("the tray icon", rig.tray_icon)
    return window


def layout(rig):
    """Every gadget of the main window but the banner, as in DEFAULT_LAYOUT."""
    return [(role, name, box) for role in ("label", "scroll pane", "push button")
            for name, box in rig.widgets(role, "frame", showing=False)]


def buttons(rig):
    """The main window's buttons as (name, tooltip): what a screen reader says."""
    return [found for found, _ in rig.widgets("push button", "frame",
                                              name=lambda node: (node.name, node.description))]


class SizeLog:
    """The sizes the window system gives a window, in order, as xev sees them."""

    def __init__(self, rig, window):
        self.xev = rig._spawn(["xev", "-id", str(window), "-event", "structure",
                               "-event", "property"], stdout=subprocess.PIPE)
        os.set_blocking(self.xev.stdout.fileno(), False)
        self.text = ""
        mark = ["xprop", "-id", str(window), "-f", "E2E_MARK", "8s", "-set", "E2E_MARK", "1"]
        wait_for("xev to listen", lambda: rig.run(mark) and "(E2E_MARK)" in self._read())

    def _read(self):
        self.text += (self.xev.stdout.read() or b"").decode()
        return self.text

    def sizes(self):
        return [tuple(map(int, size)) for size in re.findall(
            r"ConfigureNotify.*\n.*width (\d+), height (\d+)", self._read())]


def tray_menu(rig):
    icon = wait_for("the tray icon", rig.tray_icon)
    until("the tray menu", lambda: rig.click(icon, 10, 10, button=3),
          lambda: "About" in rig.names("menu item"))


def choose_exit(rig, question):
    """Picks "Exit" from the tray menu; returns the question's window."""
    tray_menu(rig)
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
    assert rig.names("label", "frame") == ["090-123-456", "alice"], rig.names("label", "frame")
    assert rig.roster() == ROSTER, rig.roster()
    icon = wait_for("the tray icon", rig.tray_icon)
    assert layout(rig) == DEFAULT_LAYOUT, layout(rig)

    # Each shrink snaps back to 200x250 and leaves every gadget where it was.
    sizes = SizeLog(rig, window)
    for size in [(300, 240), (150, 150), (300, 150), (190, 400)]:
        seen = len(sizes.sizes())
        rig.xdo("windowsize", window, *size)
        wait_for(f"the window at {size}", lambda: size in sizes.sizes()[seen:])
        wait_for(f"the snap back from {size}", lambda: sizes.sizes()[-1] == (200, 250)
                 and rig.geometry(window)[2:] == (200, 250))
        assert layout(rig) == DEFAULT_LAYOUT, (size, layout(rig))

    # Away from the centre, where a fresh map would put it anyway.
    rig.xdo("windowmove", window, 100, 120)
    moved = wait_for("the move", lambda: (g := rig.geometry(window))[:2] != (x, y) and g)
    rig.wm_close(window)
    # Withdrawn, not iconified; coming back also shows the process stayed.
    wait_for("the window to be withdrawn", lambda: rig.wm_state(window) is None)
    rig.click(icon, 10, 10)
    wait_for("the window to come back", lambda: rig.wm_state(window) == "Normal")
    assert rig.geometry(window) == moved, (rig.geometry(window), moved)

    rig.run([rig.standin_bin + "/hamachi", "stop"])  # as if from another terminal
    box, text = rig.wait_box("Hamachi Error", timeout=6.5)
    assert text == ("Hamachi is no longer running.  Do you want to\n"
                    "restart Hamachi?   (No quits client)."), text
    shown = rig.names("push button", "frame")
    assert shown == ["Log in"] + BUTTONS, shown
    rig.press(box, "No")
    assert rig.wait_exit() == 0
    assert "hamachi start" not in rig.calls(), rig.calls()


def case_login_toggle(rig):
    window = ready(rig, logged_in=False)
    assert rig.roster() == []
    # Empty, the roster is still a tree table to assistive technology.
    assert len(rig.widgets("tree table")) == 1, rig.widgets("unknown")
    assert buttons(rig) == [(name, name) for name in ["Log in"] + BUTTONS], buttons(rig)
    rig.press(window, "Log in", "frame")
    rig.wait_call("hamachi login")
    # Well before the watchdog's next pass could fill it instead.
    wait_for("the roster", lambda: rig.roster() == ROSTER, 2)
    assert buttons(rig)[0] == ("Log out", "Log out"), buttons(rig)
    rig.press(window, "Log out", "frame")
    rig.wait_call("hamachi logout")
    wait_for("the roster to clear", lambda: rig.roster() == [], 2)
    wait_for("the login button's name", lambda: buttons(rig)[:1] == [("Log in", "Log in")])

    # Closing the question leaves the client running.
    rig.wm_close(choose_exit(rig, "You are not logged in, do you want to stop Hamachi?"))
    assert rig.wait_exit() == 0
    assert "hamachi stop" not in rig.calls(), rig.calls()


def case_hung_login(rig):
    """A stuck login is ended after 30 s with all it started; the window answers at once."""
    window = ready(rig, logged_in=False)
    rig.hang("login")

    def shot():
        rig.run(["import", "-window", str(window), "-depth", "8", rig.tmp + "/shot.rgb"])
        with open(rig.tmp + "/shot.rgb", "rb") as f:
            return f.read()

    rig.press(window, "Log in", "frame")
    rig.wait_call("hamachi login")
    begun = time.monotonic()
    time.sleep(1)
    frozen = shot()  # "Logging into Hamachi ...", as drawn before the command
    time.sleep(max(0, begun + 29.5 - time.monotonic()))
    # The watchdog, long due, probes once the login is given up.
    wait_for("the loop to run again", lambda: "hamachi" in (c := rig.calls())[
        c.index("hamachi login"):], 3)
    assert time.monotonic() - begun < 31.5, time.monotonic() - begun
    wait_for("the window to be redrawn", lambda: shot() != frozen, 1)
    # Accessibility reads are answered from the loop too.
    assert rig.names("label")[-1] == "offline"
    assert "hamachi" not in [name for name, _ in processes().values()], processes()
    rig.hang("login", False)
    rig.press(window, "Log in", "frame")
    wait_for("the roster", lambda: rig.roster() == ROSTER, 2)


def case_exit_stops_client(rig):
    ready(rig)
    probes, due = rig.calls().count("hamachi"), time.monotonic() + 5.3
    box = choose_exit(rig, "Do you want to leave Hamachi logged in and running?")
    # Answered once the watchdog is due, its pass must not offer to restart the client.
    if rig.calls().count("hamachi") != probes:  # a pass came before the box
        due = time.monotonic() + 5.3
    time.sleep(max(0, due - time.monotonic()))
    rig.press(box, "No")
    assert rig.wait_exit() == 0
    calls = rig.calls()
    assert "hamachi" in calls[calls.index("hamachi stop"):], calls


def case_roster_menus(rig):
    """Right clicks with the real pointer open the menu that suits the row."""
    window = ready(rig)

    def menu_on(row):
        return until("the menu", lambda: rig.click_widget(window, "table cell", row, button=3),
                     lambda: rig.names("menu item"))

    items = menu_on("[lan]")
    assert items == ["Go online", "Go offline", "Leave network", "Delete network"], items
    rig.xdo("key", "Down", "Return")
    rig.wait_call("hamachi go-online lan")

    items = menu_on("5.1.2.3 - bob")
    assert items == ["Ping", "Browse", "Copy address", "Evict user"], items
    assert "VNC" in rig.names("menu")  # the submenu's item
    rig.xdo("key", "Down", "Down", "Down", "Return")
    wait_for("the address on the clipboard", lambda: rig.run(
        ["xclip", "-o", "-selection", "clipboard"], False)[1] == "5.1.2.3")

    menu_on("5.1.2.4 - carol")
    rig.xdo("key", "Down", "Down", "Down", "Down", "Return")
    box, text = rig.wait_box("Hamachi")
    assert text == "Are you sure you want to evict this user?", text
    rig.press(box, "Yes")
    rig.wait_call("hamachi evict lan 5.1.2.4")
    wait_for("carol to leave the roster", lambda: rig.roster() == ROSTER[:2], 2)


def case_create_network(rig):
    window = ready(rig)
    until("the menu", lambda: rig.click(window, 178, 246),  # the networks button
          lambda: "Create new network.." in rig.names("menu item"))
    rig.xdo("key", "Down", "Return")
    dialog = wait_for("the dialog", lambda: rig.visible_window("Create New Network"))
    rig.click_widget(dialog, "text", "Network Name")
    rig.xdo("type", " my net ")
    rig.click_widget(dialog, "password text", "Network Password")
    rig.xdo("type", "it's")
    rig.press(dialog, "Create", "frame")
    rig.wait_call("hamachi create my net it's")
    wait_for("the new network", lambda: "[my net]" in rig.roster())
    assert not rig.visible_window("Create New Network")


def case_status_window(rig):
    window = ready(rig)
    status = until("the status window", lambda: rig.click(window, 223, 246),  # settings
                   lambda: rig.visible_window("Status and Configuration"))
    rig.press(status, "System", "frame")
    rig.click_widget(status, "text", "Keep Alive (seconds):")
    rig.xdo("key", "ctrl+a")
    rig.xdo("type", "4x5")
    rig.press(status, "Update", "frame")
    rig.press(rig.wait_box("Hamachi")[0], "Yes")
    wait_for("the reload", lambda: rig.calls()[-2:] == ["hamachi stop", "hamachi start"])
    with open(rig.config + "/config") as f:
        assert f.read() == "KeepAlive 45\n"

    rig.press(status, "Status", "frame")
    rig.press(status, "Backup Identity", "frame")
    wait_for("the file chooser", lambda: rig.visible_window("Save tar backup to"))
    target = rig.home + "/id backup.tar"
    rig.xdo("key", "ctrl+a")
    rig.xdo("type", target)
    rig.xdo("key", "Return")
    wait_for("the archive", lambda: "/.hamachi/state\n" in rig.run(["tar", "tf", target], False)[1])
    assert os.stat(target).st_mode & 0o777 == 0o600, oct(os.stat(target).st_mode)


def about_windows(rig, main):  # titled like the main window
    return set(rig.windows("Corvane")) - {main}


def case_about_twice(rig):
    main = ready(rig)
    first = set()
    for _ in range(2):  # the second replaces the first
        tray_menu(rig)
        rig.xdo("key", "Down", "Down", "Return")
        first = wait_for("a new About window",
                         lambda: (a := about_windows(rig, main)) and not a & first and a)
    assert len(first) == 1, first


def case_busy_window(rig):
    """While a slow login runs the window answers the window manager's ping,
    repaints what was covered (the server keeps no copy of it), and takes
    no clicks: neither then nor once the login is done."""
    from Xlib import X, display, protocol
    window = ready(rig, logged_in=False)
    rig.hang("login")
    rig.press(window, "Log in", "frame")
    rig.wait_call("hamachi login")
    begun = time.monotonic()
    x, y, w, h = rig.geometry(window)
    x11 = display.Display(rig.display)
    root, client = x11.screen().root, x11.create_resource_object("window", window)
    shot = lambda: root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data
    time.sleep(0.5)
    drawn = shot()  # "Logging into Hamachi ...", drawn before the command
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    ping = x11.intern_atom("_NET_WM_PING")
    client.send_event(protocol.event.ClientMessage(
        window=client, client_type=x11.intern_atom("WM_PROTOCOLS"),
        data=(32, [ping, 4242, window, 0, 0])), event_mask=0)
    x11.flush()
    sent = time.monotonic()

    def answered():
        while x11.pending_events():
            event = x11.next_event()
            if event.type == X.ClientMessage and list(event.data[1][:2]) == [ping, 4242]:
                return True
        return False
    wait_for("the answer to the ping", answered, 1.0)
    assert time.monotonic() - sent < 1.0

    cover = root.create_window(x, y, w, h, 0, x11.screen().root_depth,
                               background_pixel=x11.screen().black_pixel, override_redirect=1)
    cover.map()
    x11.sync()
    wait_for("the cover drawn", lambda: shot() != drawn)
    cover.destroy()
    x11.sync()
    wait_for("the gadgets painted again", lambda: shot() == drawn, 0.2)

    # Clicks kept for after the login would each log out or in again.
    rig.xdo("mousemove", "--window", window, 26, 246, "click", "--repeat", 6, "--delay", 300, 1)
    time.sleep(max(0, begun + 5 - time.monotonic()))
    rig.hang("login", False)
    wait_for("the roster", lambda: rig.roster() == ROSTER, 3)
    time.sleep(1)  # a click kept for later would have reached the client by now
    calls = rig.calls()
    assert calls.count("hamachi login") == 1 and "hamachi logout" not in calls, calls


case_busy_window.server_args = ["-bs"]  # no backing store: only the program repaints


def case_status_notifier(rig):
    """With a status notifier watcher the icon is an item, its menu over dbusmenu."""
    watcher = rig.start_service("watcher")
    main = ready(rig)
    sender, path = wait_for("the item to register", lambda: [
        (c["sender"], c["args"][0]) for c in watcher.calls("RegisterStatusNotifierItem")])[0]

    def item(method, signature=None, args=None, at=path, interface="org.kde.StatusNotifierItem"):
        return rig.call(sender, at, interface, method, signature, args)

    shown = item("GetAll", "(s)", ("org.kde.StatusNotifierItem",),
                 interface="org.freedesktop.DBus.Properties")[0]
    (width, height, pixels), = shown["IconPixmap"]
    assert (shown["Title"], shown["ToolTip"][2], shown["ItemIsMenu"]) == ("Corvane", "Corvane", False)
    assert shown["ToolTip"][3] == "090-123-456\nalice", shown["ToolTip"]  # identity and status
    assert len(pixels) == width * height * 4 and any(pixels[::4]), (width, height)
    assert rig.tray_icon() is None, "an XEmbed icon as well"

    rig.wm_close(main)
    wait_for("the window to be withdrawn", lambda: rig.wm_state(main) is None)
    item("Activate", "(ii)", (0, 0))  # the host's left click
    wait_for("the window to come back", lambda: rig.wm_state(main) == "Normal")

    menu = dict(at=shown["Menu"], interface="com.canonical.dbusmenu")
    _, (_, _, entries) = item("GetLayout", "(iias)", (0, -1, []), **menu)
    assert [(props.get("label"), props.get("type")) for _, props, _ in entries] == \
        [("Exit", None), (None, "separator"), ("About", None)], entries
    about = entries[2][0]
    item("Event", "(isvu)", (about, "clicked", GLib.Variant("i", 0), 0), **menu)
    wait_for("the About window", lambda: about_windows(rig, main))
    item("ContextMenu", "(ii)", (0, 0))  # from a host that leaves the menu to the item
    wait_for("the tray menu", lambda: "About" in rig.names("menu item"))
    rig.xdo("key", "Escape")
    assert rig.tray_icon() is None, "an XEmbed icon as well"

    # The panel restarting: the XEmbed icon while the watcher is away.
    watcher.stop()
    wait_for("the XEmbed icon", rig.tray_icon)
    rig.start_service("watcher")  # logging on to the same file
    wait_for("the item to register again",
             lambda: len(watcher.calls("RegisterStatusNotifierItem")) == 2)
    wait_for("the XEmbed icon to go", lambda: rig.tray_icon() is None)


def case_notifications(rig):
    """Members coming and going and the client stopped outside are told once each; the
    first roster is no news; the options turn it off."""
    daemon = rig.start_service("notifications")
    ready(rig)

    def notes():
        return [(c["summary"], c["body"]) for c in daemon.calls("Notify")]

    def members(bob, carol):
        with open(rig.config + "/networks", "w", encoding="latin-1") as f:
            f.write(f"network\tlan\tonline,owner\nmember\t5.1.2.3\tbob\t{bob}\n"
                    f"member\t5.1.2.4\tc\xe4rol\t{carol}\n")

    members("offline", "online")  # carol's nickname changes too: she is known by address
    wait_for("the notifications", lambda: len(notes()) == 2, 7)
    assert notes() == [("bob went offline", "5.1.2.3 in [lan]"),
                       ("c\xe4rol is online", "5.1.2.4 in [lan]")], notes()
    rig.run([rig.standin_bin + "/hamachi", "stop"])
    box, _ = rig.wait_box("Hamachi Error", timeout=6.5)
    wait_for("the notification", lambda: len(notes()) == 3)
    assert notes()[2] == ("Hamachi is no longer running", "It was stopped outside Corvane."), notes()
    rig.press(box, "No")
    assert rig.wait_exit() == 0

    rig.write(".hamachi/options", "Notifications = 0\n")
    rig.run([rig.standin_bin + "/hamachi", "start"])
    rig.run([rig.standin_bin + "/hamachi", "login"])
    rig.launch()
    rig.wait_idle()
    lists = rig.calls().count("hamachi list")
    members("online", "offline")
    asked = len(daemon.calls())
    wait_for("the watchdog's next list", lambda: rig.calls().count("hamachi list") > lists, 7)
    rig.wait_idle()
    assert len(daemon.calls()) == asked, daemon.calls()[asked:]


def case_reader_through_logins(rig):
    """Outside logins and logouts while a reader reads the roster, rows just gone too."""
    ready(rig, logged_in=False)
    hamachi = rig.standin_bin + "/hamachi"
    known = 0  # the rows the reader has read
    for _ in range(5):
        rig.run([hamachi, "login"])
        wait_for("the roster", lambda: rig.read_rows(known) == ROSTER, 7)
        known = len(ROSTER)
        rig.run([hamachi, "logout"])
        wait_for("the roster to clear", lambda: rig.read_rows(known) == [], 7)


def case_large_roster_read(rig):
    """100,400 rows read by a screen reader to the last, collapsed there, and rebuilt."""
    def networks(names):
        return "".join(f"network\t{name}\tonline\n" + "".join(
            f"member\t5.{n // 250}.{n % 250}.{m}\tm{m}\tonline\n" for m in range(250))
            for n, name in enumerate(names))

    def row(number):
        rig.check_alive()
        return [part.name for part in table.getAccessibleAt(number, 0) or ()]

    start(rig, logged_in=True, networks=networks(f"n{n}" for n in range(400)))
    wait_for("the main window", lambda: rig.visible_window("Corvane"))
    table = wait_for("the roster's table", rig.tree_table).queryTable()
    wait_for("100,400 rows", lambda: row(100399) == ["", "5.1.149.249 - m249"], 15)
    assert not table.isRowSelected(100399)
    assert table.getRowAtIndex(table.getIndexAt(100399, 0)) == 100399

    # The last network collapsed by the reader, through its row's action.
    expander = table.getAccessibleAt(100399 - 250, 0)[1].queryAction()
    expander.doAction([expander.getName(i) for i in range(expander.nActions)].index(
        "expand or contract"))
    wait_for("the last rows to hide", lambda: row(100399 - 250) == ["", "[n399]"] and
             table.nRows == 100400 - 250)

    rig.write(".hamachi/networks", networks(f"x{n}" for n in range(400)))
    wait_for("the rebuilt roster", lambda: row(100399 - 250) == ["", "[x399]"], 15)
    assert table.nRows == 100400


if __name__ == "__main__":
    corvane, standin_bin, case = sys.argv[1:]
    rig = Rig(case, os.path.abspath(corvane), os.path.abspath(standin_bin))
    run = globals()["case_" + case]
    try:
        rig.start(getattr(run, "server_args", ()))
        run(rig)
        rig.check_program()
    except BaseException:
        rig.report_failure()
        raise
    finally:
        rig.close()
