#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Stand-ins for a desktop's session-bus services, each logging the calls it
gets to LOG, one JSON object a line.

    bus_services.py watcher LOG        a status notifier watcher
    bus_services.py notifications LOG  a notification daemon
"""

import json
import sys

from gi.repository import Gio, GLib

SERVICES = {
    "watcher": ("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", """
<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
</interface></node>"""),
    "notifications": ("org.freedesktop.Notifications", "/org/freedesktop/Notifications", """
<node><interface name="org.freedesktop.Notifications">
  <method name="Notify">
    <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
    <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
    <arg type="u" direction="out"/>
  </method>
  <method name="GetCapabilities"><arg type="as" direction="out"/></method>
  <method name="GetServerInformation">
    <arg type="s" direction="out"/><arg type="s" direction="out"/>
    <arg type="s" direction="out"/><arg type="s" direction="out"/>
  </method>
</interface></node>"""),
}


def main(kind, log_path):
    name, path, xml = SERVICES[kind]
    interface = Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0]
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    log = open(log_path, "a", buffering=1)
    replies = {"GetCapabilities": GLib.Variant("(as)", (["body"],)), "GetServerInformation":
               GLib.Variant("(ssss)", ("stand-in", "corvane tests", "1", "1.2"))}
    shown = []

    def on_call(_bus, sender, _path, _interface, method, args, call):
        record = {"call": method, "sender": sender}
        if method == "Notify":  # its hints may hold a picture, no JSON
            _, _, _, record["summary"], record["body"], *_ = args.unpack()
            shown.append(record)
            replies["Notify"] = GLib.Variant("(u)", (len(shown),))
        else:
            record["args"] = args.unpack()
        log.write(json.dumps(record) + "\n")
        call.return_value(replies.get(method))

    bus.register_object(path, interface, on_call, None, None)
    loop = GLib.MainLoop()
    # Owning the name is what the rig waits for; losing it ends the stand-in.
    Gio.bus_own_name_on_connection(bus, name, Gio.BusNameOwnerFlags.NONE, None,
                                   lambda *_: loop.quit())
    loop.run()


if __name__ == "__main__":
    main(*sys.argv[1:])
