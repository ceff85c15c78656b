// SPDX-License-Identifier: GPL-2.0-or-later
// While a client command runs: the windows repaint, follow the window
// manager and answer its pings, show a busy cursor, and take no input.
#include <gdk/gdkx.h>

#include "toolkit/internal.h"

namespace {

// What may be handled while a command runs: nothing here reaches a handler
// of the program (a size change is queued like any other event).
bool SafeWhileBusy(GdkEventType type) {
    switch (type) {
        case GDK_EXPOSE:
        case GDK_NO_EXPOSE:
        case GDK_CONFIGURE:
        case GDK_MAP:
        case GDK_UNMAP:
        case GDK_VISIBILITY_NOTIFY:
        case GDK_WINDOW_STATE:
        case GDK_PROPERTY_NOTIFY:
        case GDK_SELECTION_CLEAR:
        case GDK_SELECTION_REQUEST:
        case GDK_SELECTION_NOTIFY:
        case GDK_OWNER_CHANGE:
        case GDK_DAMAGE:
        case GDK_SETTING:
            return true;
        default:
            return false;
    }
}

// Only a command that takes a while shows the busy cursor: the watchdog's
// quick probes must not make it flicker, nor cost round trips to the server.
constexpr gint64 CursorAfterUs = 200000;

struct BusyState {
    gint64 since = 0;  // when the command began; 0 while none runs
    bool cursorShown = false;
};
BusyState Busy;

void SetCursorOnWindows(GdkCursor* cursor) {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
        GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(item->data));
        if (window != nullptr) gdk_window_set_cursor(window, cursor);
    }
    g_list_free(windows);
    gdk_display_flush(gdk_display_get_default());
}

}  // namespace

void BeginBusy() {
    Busy = {g_get_monotonic_time(), false};
}

void EndBusy() {
    if (Busy.cursorShown && ToolkitReady()) SetCursorOnWindows(nullptr);
    Busy = {};
}

int WindowSystemDescriptor() {
    if (!ToolkitReady()) return -1;
    return ConnectionNumber(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()));
}

// Taking an event off the queue answers the window manager's ping on the
// way; what is safe is handled, the rest (clicks, keys, closes) is dropped.
void ServeWhileBusy() {
    if (!ToolkitReady()) return;
    if (!Busy.cursorShown && Busy.since != 0 && g_get_monotonic_time() - Busy.since >= CursorAfterUs) {
        GdkCursor* watch = gdk_cursor_new(GDK_WATCH);
        SetCursorOnWindows(watch);
        gdk_cursor_unref(watch);
        Busy.cursorShown = true;
    }
    // Pending events are read without waiting; handling them may write more.
    for (int round = 0; round < 1000 && gdk_events_pending(); ++round) {
        while (GdkEvent* event = gdk_event_get()) {
            if (SafeWhileBusy(event->type)) gtk_main_do_event(event);
            gdk_event_free(event);
        }
        gdk_window_process_all_updates();
        gdk_display_flush(gdk_display_get_default());
    }
}
