// SPDX-License-Identifier: GPL-2.0-or-later
#include <gio/gio.h>
#include <sys/stat.h>

#include <cstdlib>

#include "toolkit/internal.h"

namespace {

GRef<GDBusConnection> Bus;
bool Tried = false;

// Where GIO would look before falling back to starting a bus of its own
// (autolaunch), which costs a delay and may print: only these count.
bool SessionNamesABus() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') return false;
    struct stat info {};
    return stat((std::string(runtime) + "/bus").c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

}  // namespace

GDBusConnection* SessionBus() {
    if (Tried) return Bus.get();
    Tried = true;
    if (!SessionNamesABus()) return nullptr;
    Bus.reset(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
    // A session bus going away ends the session, not this program.
    if (Bus) g_dbus_connection_set_exit_on_close(Bus.get(), FALSE);
    return Bus.get();
}
